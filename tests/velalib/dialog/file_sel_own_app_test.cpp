// file_sel in a host that is not a Qt program: the library's own QApplication, or a clean refusal.
#include <QApplication>
#include <QFileDialog>
#include <cstdlib>

#include "dialog_driver.hpp"
#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

bool g_dialogSeen = false;

// Runs inside the constructor of the application the library creates, and again by hand.
void driveFirstDialog() {
  whenShown<QFileDialog>([](QFileDialog &d) {
    g_dialogSeen = true;
    d.reject();
  });
}

// Each case needs a process without an application: ctest gives each one its own process.
class OwnApplication : public VelalibHost {
 protected:
  void SetUp() override {
    if (QCoreApplication::instance()) GTEST_SKIP() << "this process already has an application";
    VelalibHost::SetUp();
  }
};

TEST_F(OwnApplication, StartedOnDemandAndKeptForLaterCalls) {
  qAddPreRoutine(driveFirstDialog);
  EXPECT_EQ(text("file_sel", {T("Own")}), "");
  EXPECT_TRUE(g_dialogSeen);
  EXPECT_NE(qobject_cast<QApplication *>(QCoreApplication::instance()), nullptr);
  QCoreApplication *const app = QCoreApplication::instance();
  // Released and loaded again, the library finds its application and shows the dialog again.
  host_.releaseLibraries();
  host_.loadLibrary(VELALIB_PATH);
  g_dialogSeen = false;
  driveFirstDialog();
  EXPECT_EQ(text("file_sel", {}), "");
  EXPECT_TRUE(g_dialogSeen);
  EXPECT_EQ(QCoreApplication::instance(), app);
}

// Without a display, or in a Qt program without widgets, the call fails with the host's error.
TEST_F(OwnApplication, RefusedWithoutADisplayOrWithoutWidgets) {
  for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) ::unsetenv(name);
  foxhost::HostError e = errorOf("file_sel", {});
  EXPECT_EQ(e.number(), 1098);
  EXPECT_STREQ(e.what(), "file_sel() cannot show a dialog: no display");
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "core-only";
  char *argv[] = {name, nullptr};
  QCoreApplication core(argc, argv);
  e = errorOf("file_sel", {});
  EXPECT_EQ(e.number(), 1098);
  EXPECT_STREQ(e.what(),
               "file_sel() cannot show a dialog: the host's Qt application has no widgets");
}

}  // namespace
}  // namespace velalib::testing
