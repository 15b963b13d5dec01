#include "spots/spot_list.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "geometry/projection.hpp"
#include "plane/pointer.hpp"
#include "spots/marker_colors.hpp"
#include "spots/marker_press.hpp"

namespace orbelle::spots {
namespace {

constexpr double kLatHere = 33.9;
constexpr double kLonHere = -84.179;

// A spot with padded texts, a split frequency and a spotter without a position.
SpotArgs spotNumbered(int n) {
  return {.LatDeg = n * 0.5,
          .LonDeg = n * 1.25,
          .Color = 1000 + n,
          .SpotFreq = 14000.0 + n,
          .Mode = " SSB ",
          .SpotCall = " CALL" + std::to_string(n),
          .SpotTime = " 1402Z ",
          .SpotBy = "BY" + std::to_string(n) + "  ",
          .SpotComment = "  up 2  ",
          .SpotLoc = " Chile ",
          .SpotByLat = -91.0,
          .SpotByLon = 12.5,
          .SpotByColor = 12632256.5,
          .SpotByLoc = "  Ontario ",
          .SpotFreqTX = 14010.25};
}

int add(SpotList& list, const SpotArgs& s) { return list.AddSpot(kLatHere, kLonHere, s, ".", 25); }

// MaxSpots is held to 1 .. 2000; each spot fills the next slot, wrapping round to the oldest;
// ClearSpots empties every slot and starts again at 1; without a table the first spot makes one.
TEST(SpotList, SlotsFormARing) {
  for (const auto& [asked, bounded] : {std::pair<std::int16_t, std::int16_t>{25, 25},
                                       {1, 1},
                                       {0, 1},
                                       {-7, 1},
                                       {2000, 2000},
                                       {32767, 2000}}) {
    EXPECT_EQ(boundedMaxSpots(asked), bounded) << asked;
  }
  SpotList list;
  EXPECT_EQ(list.AddSpot(kLatHere, kLonHere, spotNumbered(1), ".", 3), 1);
  EXPECT_EQ(list.MaxSpots(), 3);
  EXPECT_EQ(add(list, spotNumbered(2)), 2);
  EXPECT_EQ(add(list, spotNumbered(3)), 3);
  EXPECT_EQ(add(list, spotNumbered(4)), 1);
  EXPECT_EQ(list.row(1).SpotFreq, 14004.0);
  list.ClearSpots(5);
  EXPECT_EQ(list.MaxSpots(), 5);
  EXPECT_EQ(list.NextSpot(), 1);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_FALSE(list.slot(i).filled);
    EXPECT_EQ(list.row(i).Color, kEmptySlotColor);
    EXPECT_TRUE(list.slot(i).markers.spotText.empty());
  }
  list.ClearSpots(0);
  EXPECT_EQ(add(list, spotNumbered(1)), 1);
  EXPECT_EQ(add(list, spotNumbered(2)), 1);
}

// The columns are stored as given (only the hover texts trim), the positions projected unrounded,
// also for a spotter without a position and again for a new station; a negative colour still fills
// the slot; the host's rig answer is written only while the list is unchanged.
TEST(SpotList, StoresProjectsAndAnswersTheRig) {
  SpotList list;
  list.ClearSpots(4);
  SpotArgs s = spotNumbered(3);
  add(list, s);
  s.Color = -1;
  add(list, s);
  const SpotRow& row = list.row(1);
  EXPECT_EQ(row.Color, 1003);
  EXPECT_EQ(row.SpotFreq, 14003.0);
  EXPECT_EQ(row.Mode, " SSB ");
  EXPECT_EQ(row.SpotBy, "BY3  ");
  EXPECT_EQ(row.SpotByLat, -91.0);
  EXPECT_EQ(row.SpotFreqTX, 14010.25);
  EXPECT_EQ(list.slot(1).markers.call, "CALL3");
  // The hover texts trim everything but the time and never show the transmit frequency.
  EXPECT_EQ(list.slot(1).markers.spotText, "CALL3 (by BY3) 14003 SSB  1402Z  up 2, Chile");
  EXPECT_EQ(list.slot(1).markers.spotterText, "By BY3, Ontario (CALL3)");
  EXPECT_EQ(list.slot(1).markers.spotterColor, 12632256u);
  EXPECT_TRUE(list.slot(2).filled);
  EXPECT_EQ(list.row(2).Color, -1);
  EXPECT_EQ(list.slot(2).markers.spotColor, 0xffffffu);
  for (const auto& [lat, lon] : {std::pair{kLatHere, kLonHere}, {-20.0, 150.0}}) {
    list.reproject(lat, lon);
    const geo::MapPoint spot = geo::ProjectPoint(lat, lon, s.LatDeg, s.LonDeg);
    const geo::MapPoint spotter = geo::ProjectPoint(lat, lon, -91.0, 12.5);
    EXPECT_EQ(row.spot.x, spot.x);
    EXPECT_EQ(row.spot.y, spot.y);
    EXPECT_EQ(row.spotter.x, spotter.x);
    EXPECT_EQ(row.spotter.y, spotter.y);
  }
  const std::uint64_t generation = list.generation();
  EXPECT_TRUE(list.answerRig(1, generation, {7.0, 7.1, "CW"}));
  EXPECT_EQ(list.row(1).Mode, "CW");
  EXPECT_FALSE(list.answerRig(5, generation, {}));
  add(list, s);
  EXPECT_FALSE(list.answerRig(1, generation, {}));
  EXPECT_EQ(list.row(1).SpotFreq, 7.0);
}

TEST(MarkerColors, DoublesToInt32SaturateAndHalvesGoToEven) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::pair<double, std::int32_t> cases[] = {{0.5, 0},
                                                   {1.5, 2},
                                                   {-2.5, -2},
                                                   {NAN, 0},
                                                   {1e12, kMax},
                                                   {-1e12, -kMax - 1},
                                                   {-INFINITY, -kMax - 1}};
  for (const auto& [value, color] : cases) EXPECT_EQ(colorToInt32(value), color) << value;
  EXPECT_EQ(markerRgb(0x12345678), 0x345678u);
}

// The short path for every button but the right one, whose long path is folded into (0, 360];
// a spotter marker aims at the spotter, here due west of a station at (0, 0).
TEST(MarkerPress, HeadingsForEachButtonAndMarker) {
  struct Case {
    double latHere, lonHere, lat, lon;
    MarkerKind kind;
    int button;
    double heading;
  };
  const Case cases[] = {
      {0, 0, 0, 90, MarkerKind::Spot, geo::kLeftButton, 90},
      {0, 0, -10, 0, MarkerKind::Spot, geo::kMiddleButton, 180},
      {0, 0, 10, 0, MarkerKind::Spot, geo::kLeftButton, 0},  // north stays 0 on the short path
      {0, 0, 10, 0, MarkerKind::Spot, 0, 0},
      {0, 0, -10, 0, MarkerKind::Spot, geo::kRightButton, 360},
      {40, -75, 51.5, 0, MarkerKind::Spot, geo::kLeftButton, 50.48},
      {40, -75, 51.5, 0, MarkerKind::Spot, geo::kRightButton, 230.48},
      {0, 0, 0, 90, MarkerKind::Spotter, geo::kLeftButton, 270},
      {0, 0, 0, 90, MarkerKind::Spotter, geo::kRightButton, 90},
  };
  for (const Case& c : cases) {
    SpotRow row;
    row.LatDeg = c.lat;
    row.LonDeg = c.lon;
    row.SpotByLon = -45.0;
    EXPECT_NEAR(pressHeading(c.latHere, c.lonHere, row, c.kind, c.button), c.heading, 0.005)
        << c.lat << ", " << c.lon << " button " << c.button;
  }
}

}  // namespace
}  // namespace orbelle::spots
