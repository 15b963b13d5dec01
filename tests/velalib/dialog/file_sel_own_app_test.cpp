// file_sel in a host that is not a Qt program: a clean refusal without a display, otherwise the
// library's own QApplication.
#include <QApplication>
#include <QFileDialog>
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

// Needs a process without an application: ctest gives each case its own process.
class OwnApplication : public VelalibHost {
 protected:
  void SetUp() override {
    if (QCoreApplication::instance()) GTEST_SKIP() << "this process already has an application";
    VelalibHost::SetUp();
  }
};

TEST_F(OwnApplication, RefusedWithoutADisplayOtherwiseStartedOnDemand) {
  for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) ::unsetenv(name);
  const foxhost::HostError e = errorOf("file_sel", {});
  EXPECT_EQ(e.number(), 1098);
  EXPECT_STREQ(e.what(), "file_sel() cannot show a dialog: no display");
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qAddPreRoutine(driveFirstDialog);
  EXPECT_EQ(text("file_sel", {T("Own")}), "");
  EXPECT_TRUE(g_dialogSeen);
  EXPECT_NE(qobject_cast<QApplication *>(QCoreApplication::instance()), nullptr);
}

}  // namespace
}  // namespace velalib::testing
