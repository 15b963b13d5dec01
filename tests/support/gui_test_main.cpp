// Tests of the map's window and bus objects: real widgets on Qt's offscreen platform, on the
// private session bus that dbus-run-session gives each test.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

#include "server/bus_values.hpp"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  // The map writes numbers with the locale's separator; the tests expect ".".
  QLocale::setDefault(QLocale::c());
  orbelle::server::registerBusTypes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
