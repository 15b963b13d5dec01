// How the program decides to run, and where a bus-started program works.

#include "server/startup.hpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace orbelle::server {
namespace {

TEST(Startup, RunsOnItsOwnOnlyWithTheSwitch) {
  EXPECT_EQ(startModeOf({}, {}), StartMode::Refused);
  EXPECT_EQ(startModeOf({"-platform", "offscreen"}, {}), StartMode::Refused);
  EXPECT_EQ(startModeOf({"EXE=T"}, {}), StartMode::CommandLine);
  EXPECT_EQ(startModeOf({"exe=t"}, {}), StartMode::CommandLine);
  // Anywhere in the command line, also inside a longer word or across the arguments' join.
  EXPECT_EQ(startModeOf({"/a", "xEXE=Tx"}, {}), StartMode::CommandLine);
  EXPECT_EQ(startModeOf({"EXE=", "T"}, {}), StartMode::Refused);
  EXPECT_EQ(startModeOf({"EXE=F"}, {}), StartMode::Refused);
}

TEST(Startup, TheBusStartingItNeedsNoSwitch) {
  EXPECT_EQ(startModeOf({}, QStringLiteral("session")), StartMode::BusActivated);
  EXPECT_EQ(startModeOf({"EXE=T"}, QStringLiteral("session")), StartMode::BusActivated);
}

// No display: by hand it ends, by the bus it serves off screen; a chosen platform is kept.
TEST(Startup, NoDisplayIsReportedOrServedOffScreen) {
  EXPECT_EQ(platformsToTry({}), "xcb;offscreen");
  EXPECT_EQ(platformsToTry(QStringLiteral("wayland-0")), "wayland;xcb;offscreen");
  EXPECT_FALSE(platformChosen({QStringLiteral("EXE=T")}, {}));
  EXPECT_TRUE(platformChosen({QStringLiteral("-platform"), QStringLiteral("xcb")}, {}));
  EXPECT_TRUE(platformChosen({}, QStringLiteral("offscreen")));
  struct Case {
    StartMode mode;
    bool chosen;
    const char* platform;
    DisplayOutcome outcome;
  };
  const Case cases[] = {
      {StartMode::CommandLine, false, "xcb", DisplayOutcome::Window},
      {StartMode::CommandLine, false, "wayland", DisplayOutcome::Window},
      {StartMode::CommandLine, false, "offscreen", DisplayOutcome::NoDisplay},
      {StartMode::Refused, false, "offscreen", DisplayOutcome::NoDisplay},
      {StartMode::BusActivated, false, "offscreen", DisplayOutcome::OffscreenForBus},
      {StartMode::BusActivated, false, "xcb", DisplayOutcome::Window},
      {StartMode::CommandLine, true, "offscreen", DisplayOutcome::Window},
      {StartMode::BusActivated, true, "offscreen", DisplayOutcome::Window},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(displayOutcome(k.mode, k.chosen, QString::fromLatin1(k.platform)), k.outcome)
        << static_cast<int>(k.mode) << " " << k.chosen << " " << k.platform;
  }
}

TEST(Startup, WorkingFolderFollowsXdgDataHome) {
  EXPECT_EQ(busWorkingFolder(QStringLiteral("/x/data"), QStringLiteral("/home/op")),
            "/x/data/orbelle");
  EXPECT_EQ(busWorkingFolder(QStringLiteral("/x/data/"), QStringLiteral("/home/op")),
            "/x/data/orbelle");
  EXPECT_EQ(busWorkingFolder({}, QStringLiteral("/home/op")), "/home/op/.local/share/orbelle");
  // A relative XDG_DATA_HOME is invalid and ignored.
  EXPECT_EQ(busWorkingFolder(QStringLiteral("data"), QStringLiteral("/home/op")),
            "/home/op/.local/share/orbelle");
}

TEST(Startup, EnteringTheWorkingFolderCreatesIt) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString old = QDir::currentPath();
  const QString folder = dir.filePath(QStringLiteral("a/b/orbelle"));
  QString error;
  ASSERT_TRUE(enterWorkingFolder(folder, &error)) << error.toStdString();
  EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(),
            QFileInfo(folder).canonicalFilePath());
  QDir::setCurrent(old);
  // A file where the folder should be cannot become one.
  QFile blocker(dir.filePath(QStringLiteral("file")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_FALSE(enterWorkingFolder(dir.filePath(QStringLiteral("file/orbelle")), &error));
  EXPECT_TRUE(error.contains(QLatin1String("file/orbelle")));
  EXPECT_EQ(QDir::currentPath(), old);
}

}  // namespace
}  // namespace orbelle::server
