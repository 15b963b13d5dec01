#pragma once

// A map window over its model in a temporary working folder, with test backends for the message
// boxes, save dialog and help, a fixed clock, a chosen screen size and small outline files of
// its own.

#include <gtest/gtest.h>

#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>

#include "ini/date_time.hpp"
#include "model/map_model.hpp"
#include "shell/form1.hpp"
#include "support/map_fakes.hpp"

class QFileDialog;
class QLineEdit;
class QWidget;

namespace orbelle::shell::test {

using model::MessageIcon;
using orbelle::test::CallbackCall;
using orbelle::test::FakeCallback;
using orbelle::test::FakeHelp;
using orbelle::test::FakeMessages;
using orbelle::test::FakeSaveDialog;
using orbelle::test::ShownMessage;

// Runs `act` on the next file dialog once it is up (it runs its own event loop).
void whenDialogShows(std::function<void(QFileDialog&)> act);

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  model::ModelServices modelServices();
  FormServices services();
  Form1& makeForm();  // model and window constructed, not loaded
  Form1& loadForm();  // and loaded
  Form1& showForm();  // and shown, active

  void writeIni(const std::string& text) const;
  std::string iniText() const;
  // Outline files in mapdata/: each holds `polylines` small closed squares; a name in `skip`
  // is left out (its pass message then shows).
  void writeOutlines(int polylines, const std::string& skip = {}) const;
  QString path(const QString& name) const { return dir.filePath(name); }

  // Types into a field as the operator does, then leaves it for `next` by Tab.
  void typeAndLeave(QLineEdit* field, const QString& text, QWidget* next);
  static void processEvents();
  // Lets events run until `condition` holds or the time is up (QTest::qWaitFor).
  static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 3000);

  QTemporaryDir dir;
  QString oldCwd;
  FakeMessages messages;
  FakeSaveDialog saveDialog;
  FakeHelp help;
  QSizeF screenTwips{15360.0, 11520.0};
  QRect availableArea{0, 0, 4096, 4096};  // the screen's, for the window's size limits
  double pixelRatio = 1.0;                 // the screen's device pixels per logical pixel
  DateTime now = makeDateTime(2024, 3, 20, 12, 0, 0);
  double hoursToUtc = 5.0;  // the "system's" UTC offset
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<Form1> form;
};

}  // namespace orbelle::shell::test
