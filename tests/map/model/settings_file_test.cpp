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

// Non-default values are read and written back (the offset as a whole hour); others: defaults.
TEST(SettingsFile, WrittenFileReadsBackAndMissingOrBadValuesAreTheDefaults) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("orbelle.ini").toStdString();
  const std::string text =
      "[Settings]\nLatHere= 51.5\nLonHere=-0.125\nUTCOffset=-2.5\nMaxDx= 3000\nShowSun=No\n"
      "ShowRivers=Yes\nMaxSpots= 40\nShowSpots=No\nShowSpotBy=No\nShowConnectingLines=No\n"
      "Left= 1234.5\nTop= 60\nPixelWidth= 720\nAlwaysOnTop=Yes\nShadeNight=No\nShowCalls=No\n";
  std::ofstream(file) << text;
  StoredSettings v = readSettings(file, {}, {});
  EXPECT_EQ(writeSettings(file, v, {}), 0);
  EXPECT_EQ(readAll(file), std::string(text).replace(text.find("-2.5"), 4, "-2"));
  v.UTCOffset = -2.5;
  EXPECT_EQ(writeSettings(file, v, {}), 0);
  EXPECT_EQ(readAll(file), text);
  EXPECT_EQ(writeSettings(dir.filePath("missing-folder/orbelle.ini").toStdString(), v, {}), 16);

  // Defaults (the boxes' and those the window shows: its load test); bad numbers give them too.
  StoredSettings defaults;
  defaults.UTCOffset = -5.5;  // the system's offset: taken whole, fraction and all
  const StoredSettings s = readSettings(dir.filePath("none.ini").toStdString(), defaults, {});
  EXPECT_NEAR(s.MaxDx, 12437.565315561978, 1e-9);  // through its text of 15 significant digits
  EXPECT_EQ(s.UTCOffset, -5.5);
  EXPECT_FALSE(s.UTCOffsetStored);

  std::ofstream(file) << "[settings]\nmaxspots=lots\nPixelWidth=99999\nAlwaysOnTop=yes\n";
  const StoredSettings bad = readSettings(file, {}, {});
  EXPECT_EQ(bad.MaxSpots, 25);
  EXPECT_EQ(bad.PixelWidth, 600);  // beyond 16 bits
  EXPECT_TRUE(bad.AlwaysOnTop);
}

}  // namespace
}  // namespace orbelle::model
