#include "spots/spot_list.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "geometry/projection.hpp"
#include "spots/marker_colors.hpp"

namespace orbelle::spots {
namespace {

constexpr double kLatHere = 33.9;
constexpr double kLonHere = -84.179;

SpotArgs spotNumbered(int n) {
  SpotArgs s;
  s.LatDeg = n * 0.5;
  s.LonDeg = n * 1.25;
  s.Color = 1000 + n;
  s.SpotFreq = 14000.0 + n;
  s.Mode = "CW";
  s.SpotCall = "CALL" + std::to_string(n);
  s.SpotBy = "BY" + std::to_string(n);
  s.SpotByLat = 10.0;
  s.SpotByLon = 20.0;
  s.SpotByColor = 12632256.0;
  return s;
}

int add(SpotList& list, const SpotArgs& s) { return list.AddSpot(kLatHere, kLonHere, s, ".", 25); }

TEST(SpotList, BoundsMaxSpots) {
  EXPECT_EQ(boundedMaxSpots(25), 25);
  EXPECT_EQ(boundedMaxSpots(1), 1);
  EXPECT_EQ(boundedMaxSpots(0), 1);
  EXPECT_EQ(boundedMaxSpots(-7), 1);
  EXPECT_EQ(boundedMaxSpots(2000), 2000);
  EXPECT_EQ(boundedMaxSpots(32767), 2000);

  SpotList list;
  list.ClearSpots(0);
  EXPECT_EQ(list.MaxSpots(), 1);
  EXPECT_EQ(add(list, spotNumbered(1)), 1);
  EXPECT_EQ(add(list, spotNumbered(2)), 1);
  EXPECT_EQ(list.NextSpot(), 1);
}

TEST(SpotList, ClearSpotsEmptiesEverySlotAndRestartsAtOne) {
  SpotList list;
  list.ClearSpots(5);
  for (int n = 1; n <= 3; ++n) add(list, spotNumbered(n));
  list.ClearSpots(5);
  EXPECT_EQ(list.NextSpot(), 1);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_FALSE(list.slot(i).filled);
    EXPECT_EQ(list.row(i).Color, kEmptySlotColor);
    EXPECT_TRUE(list.slot(i).markers.spotText.empty());
  }
  EXPECT_EQ(add(list, spotNumbered(9)), 1);
}

TEST(SpotList, WithoutATableTheFirstSpotMakesOne) {
  SpotList list;
  EXPECT_EQ(list.MaxSpots(), 0);
  EXPECT_EQ(list.AddSpot(kLatHere, kLonHere, spotNumbered(1), ".", 3), 1);
  EXPECT_EQ(list.MaxSpots(), 3);
  EXPECT_EQ(list.NextSpot(), 2);
}

TEST(SpotList, StoresTheColumnsUnchangedAndProjectsUnrounded) {
  SpotList list;
  list.ClearSpots(25);
  SpotArgs s = spotNumbered(3);
  s.Mode = " SSB ";
  s.SpotLoc = " Chile ";
  s.SpotByLat = -91.0;  // no spotter position: still projected
  s.SpotByLon = 12.5;
  s.SpotFreqTX = 14010.25;
  add(list, s);
  const SpotRow& row = list.row(1);
  EXPECT_EQ(row.LatDeg, s.LatDeg);
  EXPECT_EQ(row.LonDeg, s.LonDeg);
  EXPECT_EQ(row.Color, 1003);
  EXPECT_EQ(row.SpotFreq, 14003.0);
  EXPECT_EQ(row.Mode, " SSB ");  // stored as given; only the hover text trims
  EXPECT_EQ(row.SpotBy, "BY3");
  EXPECT_EQ(row.SpotByLat, -91.0);
  EXPECT_EQ(row.SpotByLon, 12.5);
  EXPECT_EQ(row.SpotLoc, " Chile ");
  EXPECT_EQ(row.SpotFreqTX, 14010.25);
  EXPECT_FALSE(spotterKnown(row));

  const geo::MapPoint spot = geo::ProjectPoint(kLatHere, kLonHere, s.LatDeg, s.LonDeg);
  EXPECT_EQ(row.spot.x, spot.x);
  EXPECT_EQ(row.spot.y, spot.y);
  EXPECT_NE(row.spot.x, std::round(row.spot.x));
  const geo::MapPoint spotter = geo::ProjectPoint(kLatHere, kLonHere, -91.0, 12.5);
  EXPECT_EQ(row.spotter.x, spotter.x);
  EXPECT_EQ(row.spotter.y, spotter.y);
}

TEST(SpotList, ANegativeColourStillFillsTheSlot) {
  SpotList list;
  list.ClearSpots(4);
  SpotArgs s = spotNumbered(1);
  s.Color = -1;
  add(list, s);
  EXPECT_TRUE(list.slot(1).filled);
  EXPECT_EQ(list.row(1).Color, -1);
  EXPECT_EQ(list.slot(1).markers.spotColor, 0xffffffu);
}

TEST(MarkerColors, ConvertsDoublesToInt32SafelyAndHalvesToEven) {
  EXPECT_EQ(colorToInt32(0.5), 0);
  EXPECT_EQ(colorToInt32(1.5), 2);
  EXPECT_EQ(colorToInt32(-2.5), -2);
  EXPECT_EQ(colorToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(colorToInt32(1e12), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(colorToInt32(-1e12), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(colorToInt32(-std::numeric_limits<double>::infinity()),
            std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(markerRgb(0x12345678), 0x345678u);
}

}  // namespace
}  // namespace orbelle::spots
