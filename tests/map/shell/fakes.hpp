#pragma once

// Test backends of the window's platform interfaces: they record what the window asked and
// answer from a script.

#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <vector>

#include "shell/help_viewer.hpp"
#include "shell/host_callback.hpp"
#include "shell/message_boxes.hpp"
#include "shell/save_dialog.hpp"

namespace orbelle::shell::test {

struct ShownMessage {
  QString text;
  QString title;
  MessageIcon icon = MessageIcon::None;
};

class FakeMessages final : public MessageBoxes {
 public:
  void message(const QString& text, const QString& title, MessageIcon icon) override;
  bool askYesNo(const QString& text, const QString& title) override;

  std::vector<ShownMessage> shown;
  std::vector<ShownMessage> questions;
  std::deque<bool> answers;          // Yes/No in order; No when empty
  std::function<void()> whileShown;  // runs while a message is "on screen"
};

class FakeSaveDialog final : public SaveDialog {
 public:
  SaveDialogResult show(const SaveDialogRequest& request) override;

  std::vector<SaveDialogRequest> requests;
  std::deque<SaveDialogResult> results;  // cancel (empty name) when exhausted
  std::function<void()> whileShown;
};

class FakeHelp final : public HelpViewer {
 public:
  bool showHelp(const QString& helpFile, const QString& macro) override;

  std::vector<std::pair<QString, QString>> requests;
  bool succeeds = true;
};

class FakeLauncher final : public HelpLauncher {
 public:
  bool startDetached(const QString& program, const QStringList& arguments) override;
  bool openFile(const QString& path) override;

  std::vector<QStringList> started;  // program followed by its arguments
  std::vector<QString> opened;
  bool startSucceeds = true;
  bool openSucceeds = true;
};

struct CallbackCall {
  QString method;
  QVariantList arguments;
};

class FakeCallback final : public HostCallback {
 public:
  void orbellesetrotor(double heading) override;
  void orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) override;
  void orbellestoprotor() override;

  std::vector<CallbackCall> calls;
};

}  // namespace orbelle::shell::test
