#include "form_settings.hpp"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

namespace orbelle::shell {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

UnloadValues sample() {
  UnloadValues v;
  v.LatHere = 51.5;
  v.LonHere = -0.125;
  v.UTCOffset = -2.5;
  v.MaxDx = 3000;
  v.ShowSun = false;
  v.ShowRivers = true;
  v.MaxSpots = 40;
  v.ShowSpots = true;
  v.ShowSpotBy = false;
  v.ShowConnectingLines = false;
  v.Left = 1234.5f;
  v.Top = 60.0f;
  v.PixelWidth = 720;
  v.AlwaysOnTop = true;
  return v;
}

TEST(FormSettings, WrittenFileReadsBackUnderTheLoadKeys) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("orbelle.ini").toStdString();
  EXPECT_EQ(writeSettings(file, sample(), {}), 0);
  EXPECT_EQ(readAll(file),
            "[Settings]\n"
            "LatHere= 51.5\n"
            "LonHere=-0.125\n"
            "UTCOffset=-2.5\n"
            "MaxDx= 3000\n"
            "ShowSun=No\n"
            "ShowRivers=Yes\n"
            "MaxSpots= 40\n"
            "ShowSpots=Yes\n"
            "ShowSpotBy=No\n"
            "ShowConnectingLines=No\n"
            "Left= 1234.5\n"
            "Top= 60\n"
            "PixelWidth= 720\n"
            "AlwaysOnTop=Yes\n");

  const SettingsReader ini(file, {});
  EXPECT_EQ(ini.readDouble("LatHere", 0.0), 51.5);
  EXPECT_EQ(ini.readDouble("LonHere", 0.0), -0.125);
  // A fractional offset comes back as a whole hour (halves to even).
  EXPECT_EQ(ini.readInteger("UTCOffset", 0), -2);
  EXPECT_EQ(ini.readInteger("Pixelwidth", 0), 720);  // the load's spelling
  EXPECT_EQ(ini.readSingle("left", 0.0f), 1234.5f);
  EXPECT_FALSE(ini.readBoolean("ShowSun", true));
  EXPECT_TRUE(ini.readBoolean("AlwaysOnTop", false));
}

TEST(FormSettings, AbsentFileGivesEveryDefault) {
  QTemporaryDir dir;
  const SettingsReader ini(dir.filePath("none.ini").toStdString(), {});
  EXPECT_EQ(ini.readDouble("LatHere", kDefaultLatHere), 33.9);
  EXPECT_EQ(ini.readDouble("LonHere", kDefaultLonHere), -84.179);
  // The default passes through its stored text of 15 significant digits.
  EXPECT_NEAR(ini.readDouble("MaxDx", kDefaultMaxDx), 12437.565315561978, 1e-9);
  EXPECT_EQ(ini.readInteger("UTCOffset", kDefaultUTCOffset), 5);
  EXPECT_EQ(ini.readInteger("Pixelwidth", kDefaultPixelWidth), 600);
  EXPECT_TRUE(ini.readBoolean("ShowSun", kDefaultShowSun));
  EXPECT_FALSE(ini.readBoolean("ShowRivers", kDefaultShowRivers));
  EXPECT_EQ(ini.readSingle("Top", 123.0f), 123.0f);
}

TEST(FormSettings, UnwritableFileCountsEveryFailedKey) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("missing-folder/orbelle.ini").toStdString();
  EXPECT_EQ(writeSettings(file, sample(), {}), 14);
}

TEST(FormSettings, BadNumbersReadAsTheDefault) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("orbelle.ini").toStdString();
  std::ofstream(file) << "[settings]\nmaxspots=lots\nPixelWidth=99999\nAlwaysOnTop=yes\n";
  const SettingsReader ini(file, {});
  EXPECT_EQ(ini.readInteger("MaxSpots", 25), 25);
  EXPECT_EQ(ini.readInteger("Pixelwidth", 600), 600);  // beyond 16 bits
  EXPECT_TRUE(ini.readBoolean("AlwaysOnTop", false));
}

}  // namespace
}  // namespace orbelle::shell
