#pragma once

// The map on the test's private session bus, in the test's own process: a loaded model and map
// window in a temporary working folder with small outline files, the automation serving the
// model as Orbelle.server, and a second connection acting as the host. Calls from the host
// connection wait with a local event loop, so the map (same thread) answers them.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "model/map_model.hpp"
#include "server/automation.hpp"
#include "shell/form1.hpp"
#include "shell/help_viewer.hpp"
#include "shell/save_dialog.hpp"

namespace orbelle::server::test {

struct Shown {
  QString text;
  QString title;
};

class RecordedMessages final : public model::MessageBoxes {
 public:
  void message(const QString& text, const QString& title, model::MessageIcon) override {
    shown.push_back({text, title});
  }
  bool askYesNo(const QString& text, const QString& title) override {
    shown.push_back({text, title});
    return false;
  }
  std::vector<Shown> shown;
};

class NoSaveDialog final : public shell::SaveDialog {
 public:
  shell::SaveDialogResult show(const shell::SaveDialogRequest&) override { return {}; }
};

class NoHelp final : public shell::HelpViewer {
 public:
  shell::HelpShown showHelp(const QString&, const QString&) override { return {}; }
};

class MapOnBus : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Outline files of `polylines` small squares each: the pass lets events run once per polyline.
  void writeOutlines(int polylines) const;
  QString path(const QString& name) const { return dir.filePath(name); }

  // Calls from the host connection; the reply (or error) message.
  QDBusMessage call(const QString& objectPath, const QString& interface, const QString& member,
                    const QVariantList& args = {});
  QDBusMessage setProperty(const QString& objectPath, const QString& interface, const QString& name,
                           const QVariant& value);
  // The property's value; a failed Get fails the test and gives an invalid value.
  QVariant property(const QString& objectPath, const QString& interface, const QString& name);
  // A new server object through the factory; its path.
  QString createServer();

  // Lets events run until `condition` holds or the time is up (QTest::qWaitFor).
  static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

  QTemporaryDir dir;
  QString oldCwd;
  RecordedMessages messages;
  NoSaveDialog saveDialog;
  NoHelp help;
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<shell::Form1> form;
  std::unique_ptr<Automation> automation;
  QDBusConnection host{QString()};
  QString hostName;  // the connection's name in QtDBus
  bool ended = false;
  int callbackTimeoutMs = 400;
};

inline const QString kServer = QStringLiteral("Orbelle._server");
inline const QString kForm = QStringLiteral("Orbelle.Form1");
inline const QString kFactory = QStringLiteral("Orbelle.Factory");

}  // namespace orbelle::server::test
