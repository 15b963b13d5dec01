// file_sel in a host process that is not a Qt program: the library starts its own
// QApplication, which goes when the library is released, and refuses cleanly without a display.
#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <cstdlib>

#include "dialog_driver.hpp"
#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

bool g_dialogSeen = false;

// Runs inside the constructor of the application the library creates.
void driveFirstDialog() {
  whenShown<QFileDialog>([](QFileDialog &d) {
    g_dialogSeen = true;
    d.reject();
  });
}

class OwnApplication : public VelalibHost {};

TEST_F(OwnApplication, StartedOnDemandAndGoneWithTheLibrary) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  qAddPreRoutine(driveFirstDialog);
  EXPECT_EQ(text("file_sel", {T("Own")}), "");
  EXPECT_TRUE(g_dialogSeen);
  EXPECT_NE(qobject_cast<QApplication *>(QCoreApplication::instance()), nullptr);
  // A second call reuses the application.
  whenShown<QFileDialog>([](QFileDialog &d) { d.reject(); });
  EXPECT_EQ(text("file_sel", {}), "");
  host_.releaseLibraries();
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
  host_.loadLibrary(VELALIB_PATH);  // for the fixture's own checks
}

TEST_F(OwnApplication, WithoutADisplayTheCallFailsCleanly) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) ::unsetenv(name);
  const foxhost::HostError e = errorOf("file_sel", {});
  EXPECT_EQ(e.number(), 1098);
  EXPECT_STREQ(e.what(), "file_sel() cannot show a dialog: no display");
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

TEST_F(OwnApplication, AQtProgramWithoutWidgetsIsRefused) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  int argc = 1;
  char name[] = "core-only";
  char *argv[] = {name, nullptr};
  QCoreApplication core(argc, argv);
  const foxhost::HostError e = errorOf("file_sel", {});
  EXPECT_EQ(e.number(), 1098);
  EXPECT_STREQ(e.what(),
               "file_sel() cannot show a dialog: the host's Qt application has no widgets");
}

}  // namespace
}  // namespace velalib::testing

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
