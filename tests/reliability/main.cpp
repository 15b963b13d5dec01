// The reliability tests run real widgets on Qt's offscreen platform. Started with the writer
// flag, the program is instead one of the writers the crash tests kill.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <csignal>

#include "reliability.hpp"

int main(int argc, char** argv) {
  using namespace orbelle::reliability;
  if (argc == 4 && argv[1] == kWriterFlag) return runWriter(argv[2], argv[3]);

  // Writes beyond a file-size limit then fail with EFBIG instead of killing the process.
  std::signal(SIGXFSZ, SIG_IGN);

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QLocale::setDefault(QLocale::c());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
