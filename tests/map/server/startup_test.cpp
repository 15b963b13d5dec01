// How the program decides to run, and where a bus-started program works.

#include "server/startup.hpp"

#include <gtest/gtest.h>

namespace orbelle::server {
namespace {

// By hand only with EXE=T anywhere in the joined command line, any case; the bus needs none.
// Without a display, by hand it ends and by the bus it serves off screen; a chosen platform stays.
TEST(Startup, RunsOnItsOwnOnlyWithTheSwitchAndADisplay) {
  EXPECT_EQ(startModeOf({"/a", "xexe=Tx"}, {}), StartMode::CommandLine);
  EXPECT_EQ(startModeOf({"EXE=", "T"}, {}), StartMode::Refused);
  EXPECT_EQ(startModeOf({"EXE=F"}, QStringLiteral("session")), StartMode::BusActivated);
  EXPECT_EQ(platformsToTry(QStringLiteral("wayland-0")), "wayland;xcb;offscreen");
  const QString offscreen = QStringLiteral("offscreen");
  EXPECT_EQ(displayOutcome(StartMode::CommandLine, false, "xcb"), DisplayOutcome::Window);
  EXPECT_EQ(displayOutcome(StartMode::CommandLine, false, offscreen), DisplayOutcome::NoDisplay);
  EXPECT_EQ(displayOutcome(StartMode::BusActivated, false, offscreen),
            DisplayOutcome::OffscreenForBus);
  EXPECT_EQ(displayOutcome(StartMode::BusActivated, true, offscreen), DisplayOutcome::Window);
}

// $XDG_DATA_HOME/orbelle when absolute, else ~/.local/share/orbelle (entering it: Program).
TEST(Startup, WorkingFolderFollowsXdgDataHome) {
  const QString home = QStringLiteral("/home/op");
  EXPECT_EQ(busWorkingFolder(QStringLiteral("/x/data/"), home), "/x/data/orbelle");
  EXPECT_EQ(busWorkingFolder({}, home), "/home/op/.local/share/orbelle");
  EXPECT_EQ(busWorkingFolder(QStringLiteral("data"), home), "/home/op/.local/share/orbelle");
}

}  // namespace
}  // namespace orbelle::server
