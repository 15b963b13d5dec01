#include "model/settings_file.hpp"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

namespace orbelle::model {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

StoredSettings sample() {
  StoredSettings v;
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
  v.ShadeNight = false;
  return v;
}

TEST(SettingsFile, WrittenFileReadsBackUnderTheLoadKeys) {
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
            "AlwaysOnTop=Yes\n"
            "ShadeNight=No\n"
            "ShowCalls=Yes\n");

  const StoredSettings back = readSettings(file, {}, {});
  EXPECT_EQ(back.LatHere, 51.5);
  EXPECT_EQ(back.LonHere, -0.125);
  // A fractional offset comes back as a whole hour (halves to even).
  EXPECT_EQ(back.UTCOffset, -2.0);
  EXPECT_EQ(back.MaxDx, 3000.0);
  EXPECT_EQ(back.PixelWidth, 720);  // read under the load's spelling "Pixelwidth"
  EXPECT_EQ(back.Left, 1234.5f);    // and "left"
  EXPECT_FALSE(back.ShowSun);
  EXPECT_TRUE(back.ShowRivers);
  EXPECT_EQ(back.MaxSpots, 40);
  EXPECT_FALSE(back.ShowSpotBy);
  EXPECT_TRUE(back.AlwaysOnTop);
  EXPECT_FALSE(back.ShadeNight);
}

TEST(SettingsFile, AbsentFileGivesEveryDefault) {
  QTemporaryDir dir;
  StoredSettings defaults;
  defaults.Top = 123.0f;
  defaults.UTCOffset = -5.5;  // the system's offset: taken whole, fraction and all
  const StoredSettings s = readSettings(dir.filePath("none.ini").toStdString(), defaults, {});
  EXPECT_EQ(s.LatHere, 33.9);
  EXPECT_EQ(s.LonHere, -84.179);
  // The default passes through its stored text of 15 significant digits.
  EXPECT_NEAR(s.MaxDx, 12437.565315561978, 1e-9);
  EXPECT_EQ(s.UTCOffset, -5.5);
  EXPECT_FALSE(s.UTCOffsetStored);
  EXPECT_EQ(s.PixelWidth, 600);
  EXPECT_EQ(s.MaxSpots, 25);
  EXPECT_TRUE(s.ShowSun && s.ShowSpots && s.ShowSpotBy && s.ShowConnectingLines && s.ShadeNight &&
              s.ShowCalls);
  EXPECT_FALSE(s.ShowRivers || s.AlwaysOnTop);
  EXPECT_EQ(s.Top, 123.0f);
}

TEST(SettingsFile, UnwritableFileCountsEveryFailedKey) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("missing-folder/orbelle.ini").toStdString();
  EXPECT_EQ(writeSettings(file, sample(), {}), 16);
}

TEST(SettingsFile, BadNumbersReadAsTheDefault) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("orbelle.ini").toStdString();
  std::ofstream(file) << "[settings]\nmaxspots=lots\nPixelWidth=99999\nAlwaysOnTop=yes\n";
  const StoredSettings s = readSettings(file, {}, {});
  EXPECT_EQ(s.MaxSpots, 25);
  EXPECT_EQ(s.PixelWidth, 600);  // beyond 16 bits
  EXPECT_TRUE(s.AlwaysOnTop);
}

}  // namespace
}  // namespace orbelle::model
