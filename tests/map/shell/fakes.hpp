#pragma once

// Test backends of the window's platform interfaces: they record what the window asked and
// answer from a script. The message boxes and the host callback are the model tests' own.

#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <vector>

#include "model_fakes.hpp"
#include "shell/help_viewer.hpp"
#include "shell/save_dialog.hpp"

namespace orbelle::shell::test {

using model::MessageIcon;
using model::test::CallbackCall;
using model::test::FakeCallback;
using model::test::FakeMessages;
using model::test::ShownMessage;

class FakeSaveDialog final : public SaveDialog {
 public:
  SaveDialogResult show(const SaveDialogRequest& request) override;

  std::vector<SaveDialogRequest> requests;
  std::deque<SaveDialogResult> results;  // cancel (empty name) when exhausted
  std::function<void()> whileShown;
};

class FakeHelp final : public HelpViewer {
 public:
  HelpShown showHelp(const QString& helpFile, const QString& macro) override;

  std::vector<std::pair<QString, QString>> requests;
  bool succeeds = true;
  QString file = QStringLiteral("/usr/share/help/quill5.hlp");  // the file it names
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

}  // namespace orbelle::shell::test
