// main() of the dialog tests: offscreen, private Qt settings, an application unless testing none.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <optional>

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  std::optional<QApplication> app;
#ifndef VELALIB_HOST_WITHOUT_APPLICATION
  app.emplace(argc, argv);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
