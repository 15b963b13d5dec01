#pragma once

// A map window over its model in a temporary folder, with test backends, clock and screen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "ini/date_time.hpp"
#include "layout_rules.hpp"
#include "raster/qt/picture_file.hpp"
#include "shell/form1.hpp"
#include "shell/surface_widget.hpp"
#include "spot_layer.hpp"
#include "spot_marker.hpp"
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
    QCoreApplication::processEvents();
    QDir::setCurrent(oldCwd);
  }

  model::ModelServices modelServices() {
    model::ModelServices s;
    s.messages = &messages;
    s.programFolder = dir.path().toStdString();
    s.clock = fixedClock(makeDateTime(2024, 3, 20, 12, 0, 0));
    s.hoursToUtc = [this] { return hoursToUtc; };
    return s;
  }
  // A new model and window, loaded; showForm also shows and activates it.
  Form1& loadForm(const model::ModelServices& services) {
    form.reset();
    model = std::make_unique<model::MapModel>(services);
    FormServices s;
    s.messages = &messages;
    s.help = &help;
    s.saveDialog = &saveDialog;
    s.screenSizeTwips = [] { return QSizeF(15360.0, 11520.0); };
    s.availableScreenArea = [this] { return availableArea; };
    s.devicePixelRatio = [this] { return pixelRatio; };
    s.pictureFolder = dir.path();
    form = std::make_unique<Form1>(*model, s);
    form->Form_Load();
    return *form;
  }
  Form1& loadForm() { return loadForm(modelServices()); }
  Form1& showForm() {
    loadForm().show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QCoreApplication::processEvents();
    return *form;
  }

  void writeIni(const std::string& text) const { std::ofstream(ini()) << text; }
  std::string iniText() const {
    std::stringstream s;
    s << std::ifstream(ini()).rdbuf();
    return s.str();
  }
  std::string ini() const { return path(QStringLiteral("orbelle.ini")).toStdString(); }
  // Outline files of `polylines` squares; the one named `skip` is left out.
  void writeOutlines(int polylines, const std::string& skip = {}) const {
    orbelle::test::writeOutlineFiles(path(QStringLiteral("mapdata")), polylines, skip);
  }
  void writeMap(int side, raster::Rgb colour, const char* name = "MapCache.bmp") const {
    raster::writeBmp(raster::Surface(side, side, colour), path(QString::fromLatin1(name)));
  }
  QString path(const QString& name) const { return dir.filePath(name); }

  // Types into a field as the operator does, then leaves it for `next` by Tab.
  static void typeAndLeave(QLineEdit* field, const QString& text, QWidget* next) {
    field->setFocus(Qt::TabFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
    next->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
  }
  static int pixelsOf(const raster::Surface& s, raster::Rgb colour) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y) {
      for (int x = 0; x < s.width(); ++x) n += s.pixel(x, y) == colour;
    }
    return n;
  }

  QTemporaryDir dir;
  QString oldCwd;
  orbelle::test::FakeMessages messages;
  orbelle::test::FakeSaveDialog saveDialog;
  orbelle::test::FakeHelp help;
  double hoursToUtc = 5.0;                // the "system's" UTC offset
  QRect availableArea{0, 0, 4096, 4096};  // the screen's, for the window's size limits
  double pixelRatio = 1.0;                // the screen's device pixels per logical pixel
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<Form1> form;
};

}  // namespace orbelle::shell::test
