#pragma once

// A map window over its model in a temporary folder, with test backends, clock and screen.

#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "ini/date_time.hpp"
#include "model/map_model.hpp"
#include "shell/form1.hpp"
#include "sun/local_clock.hpp"
#include "support/map_fakes.hpp"
#include "support/outline_files.hpp"
#include "support/wait.hpp"

namespace orbelle::shell::test {

using model::MessageIcon;
using orbelle::test::waitUntil;

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    oldCwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QDir(dir.path()).mkdir(QStringLiteral("mapdata"));
  }
  void TearDown() override {
    form.reset();
    model.reset();
    processEvents();
    QDir::setCurrent(oldCwd);
  }

  model::ModelServices modelServices() {
    model::ModelServices s;
    s.messages = &messages;
    s.programFolder = dir.path().toStdString();
    s.clock = fixedClock(now);
    s.hoursToUtc = [this] { return hoursToUtc; };
    return s;
  }
  FormServices services() {
    FormServices s;
    s.messages = &messages;
    s.help = &help;
    s.saveDialog = &saveDialog;
    s.screenSizeTwips = [this] { return screenTwips; };
    s.availableScreenArea = [this] { return availableArea; };
    s.devicePixelRatio = [this] { return pixelRatio; };
    s.pictureFolder = dir.path();
    return s;
  }
  // The model and window constructed; loaded; shown and active.
  Form1& makeForm(const model::ModelServices& modelServices) {
    form.reset();
    model = std::make_unique<model::MapModel>(modelServices);
    form = std::make_unique<Form1>(*model, services());
    return *form;
  }
  Form1& loadForm() {
    makeForm(modelServices()).Form_Load();
    return *form;
  }
  Form1& showForm() {
    loadForm().show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    processEvents();
    return *form;
  }

  void writeIni(const std::string& text) const { std::ofstream(file("orbelle.ini")) << text; }
  std::string iniText() const {
    std::stringstream s;
    s << std::ifstream(file("orbelle.ini")).rdbuf();
    return s.str();
  }
  // Outline files of `polylines` squares; the one named `skip` is left out.
  void writeOutlines(int polylines, const std::string& skip = {}) const {
    orbelle::test::writeOutlineFiles(path(QStringLiteral("mapdata")), polylines, skip);
  }
  QString path(const QString& name) const { return dir.filePath(name); }
  std::string file(const char* name) const { return path(QString::fromLatin1(name)).toStdString(); }

  // Types into a field as the operator does, then leaves it for `next` by Tab.
  void typeAndLeave(QLineEdit* field, const QString& text, QWidget* next) {
    field->setFocus(Qt::TabFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
    next->setFocus(Qt::TabFocusReason);
    processEvents();
  }
  // Pixels of `colour` in `s`.
  static int pixelsOf(const raster::Surface& s, raster::Rgb colour) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y) {
      for (int x = 0; x < s.width(); ++x) n += s.pixel(x, y) == colour;
    }
    return n;
  }
  static void processEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
  }

  QTemporaryDir dir;
  QString oldCwd;
  orbelle::test::FakeMessages messages;
  orbelle::test::FakeSaveDialog saveDialog;
  orbelle::test::FakeHelp help;
  QSizeF screenTwips{15360.0, 11520.0};
  QRect availableArea{0, 0, 4096, 4096};  // the screen's, for the window's size limits
  double pixelRatio = 1.0;                // the screen's device pixels per logical pixel
  DateTime now = makeDateTime(2024, 3, 20, 12, 0, 0);
  double hoursToUtc = 5.0;  // the "system's" UTC offset
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<Form1> form;
};

}  // namespace orbelle::shell::test
