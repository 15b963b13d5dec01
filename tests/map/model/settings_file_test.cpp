#include "model/settings_file.hpp"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

namespace orbelle::model {
namespace {

std::string readAll(const std::string& path) {
  std::stringstream s;
  s << std::ifstream(path).rdbuf();
  return s.str();
}

// Every value differs from its default, so that a key read under the wrong name shows.
TEST(SettingsFile, WrittenFileReadsBackUnderTheLoadKeys) {
  StoredSettings v;
  v.LatHere = 51.5;
  v.LonHere = -0.125;
  v.UTCOffset = -2.5;
  v.MaxDx = 3000;
  v.ShowSun = v.ShowSpots = v.ShowSpotBy = v.ShowConnectingLines = v.ShadeNight = v.ShowCalls =
      false;
  v.ShowRivers = v.AlwaysOnTop = true;
  v.MaxSpots = 40;
  v.Left = 1234.5f;
  v.Top = 60.0f;
  v.PixelWidth = 720;
  QTemporaryDir dir;
  const std::string file = dir.filePath("orbelle.ini").toStdString();
  const std::string again = dir.filePath("again.ini").toStdString();
  EXPECT_EQ(writeSettings(file, v, {}), 0);
  std::string text =
      "[Settings]\nLatHere= 51.5\nLonHere=-0.125\nUTCOffset=-2.5\nMaxDx= 3000\nShowSun=No\n"
      "ShowRivers=Yes\nMaxSpots= 40\nShowSpots=No\nShowSpotBy=No\nShowConnectingLines=No\n"
      "Left= 1234.5\nTop= 60\nPixelWidth= 720\nAlwaysOnTop=Yes\nShadeNight=No\nShowCalls=No\n";
  EXPECT_EQ(readAll(file), text);
  // Read back ("Pixelwidth" and "left" as the load spells them) and written again, the file is
  // the same but for the offset, which comes back as a whole hour (halves to even).
  EXPECT_EQ(writeSettings(again, readSettings(file, {}, {}), {}), 0);
  EXPECT_EQ(readAll(again), text.replace(text.find("-2.5"), 4, "-2"));
  EXPECT_EQ(writeSettings(dir.filePath("missing-folder/orbelle.ini").toStdString(), v, {}), 16);
}

TEST(SettingsFile, AbsentFileOrBadNumbersGiveTheDefaults) {
  QTemporaryDir dir;
  StoredSettings defaults;
  defaults.Top = 123.0f;
  defaults.UTCOffset = -5.5;  // the system's offset: taken whole, fraction and all
  const StoredSettings s = readSettings(dir.filePath("none.ini").toStdString(), defaults, {});
  EXPECT_EQ(s.LatHere, 33.9);
  EXPECT_EQ(s.LonHere, -84.179);
  EXPECT_NEAR(s.MaxDx, 12437.565315561978, 1e-9);  // through its text of 15 significant digits
  EXPECT_EQ(s.UTCOffset, -5.5);
  EXPECT_FALSE(s.UTCOffsetStored);
  EXPECT_EQ(s.PixelWidth, 600);
  EXPECT_EQ(s.MaxSpots, 25);
  EXPECT_TRUE(s.ShowSun && s.ShowSpots && s.ShowSpotBy && s.ShowConnectingLines && s.ShadeNight &&
              s.ShowCalls);
  EXPECT_FALSE(s.ShowRivers || s.AlwaysOnTop);
  EXPECT_EQ(s.Top, 123.0f);

  const std::string file = dir.filePath("orbelle.ini").toStdString();
  std::ofstream(file) << "[settings]\nmaxspots=lots\nPixelWidth=99999\nAlwaysOnTop=yes\n";
  const StoredSettings bad = readSettings(file, {}, {});
  EXPECT_EQ(bad.MaxSpots, 25);
  EXPECT_EQ(bad.PixelWidth, 600);  // beyond 16 bits
  EXPECT_TRUE(bad.AlwaysOnTop);
}

}  // namespace
}  // namespace orbelle::model
