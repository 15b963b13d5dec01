// The spot list and what it builds on: hover texts, marker colours and the slot layout.

#include "spots/spot_list.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <tuple>

#include "geometry/projection.hpp"
#include "plane/map_plane.hpp"
#include "raster/surface.hpp"
#include "spots/hover_text.hpp"
#include "spots/marker_colors.hpp"
#include "spots/slot_layout.hpp"

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

// Trimming takes spaces only; numbers as C's "%.15G" writes them, with the separator given.
TEST(HoverText, TrimsSpacesAndWritesNumbersInTheGeneralFormat) {
  const std::pair<const char*, const char*> trims[] = {
      {"  DL1ABC  ", "DL1ABC"}, {"    ", ""}, {"\tCW\t", "\tCW\t"}, {" \nX ", "\nX"}};
  for (const auto& [text, trimmed] : trims) EXPECT_EQ(trimBlanks(text), trimmed) << text;
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-8, 16);
  for (int i = 0; i < 20000; ++i) {
    const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
    for (const double value : {v, std::round(v)}) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "%.15G", value);
      std::string text = expected;
      std::replace(text.begin(), text.end(), '.', ',');
      ASSERT_EQ(generalNumberText(value, ","), value == 0 ? "0" : text) << expected;
    }
  }
  const std::pair<double, const char*> specials[] = {
      {-0.0, "0"}, {NAN, "NaN"}, {INFINITY, "Infinity"}, {-INFINITY, "-Infinity"}};
  for (const auto& [value, text] : specials) EXPECT_EQ(generalNumberText(value, "."), text);
}

// MaxSpots held to 1..2000 (the ring itself: the spot layer's and the bus tests).
TEST(SpotList, MaxSpotsIsHeldToItsBounds) {
  for (const auto& [asked, bounded] :
       {std::pair<std::int16_t, std::int16_t>{1, 1}, {0, 1}, {2000, 2000}, {2001, 2000}}) {
    EXPECT_EQ(boundedMaxSpots(asked), bounded) << asked;
  }
}

// Stored as given, texts trimmed, positions projected (also anew).
TEST(SpotList, StoresProjectsAndAnswersTheRig) {
  SpotList list;
  list.ClearSpots(4);
  SpotArgs s = spotNumbered(3);
  add(list, s);
  s.Color = -1;
  add(list, s);
  const SpotRow& row = list.row(1);
  EXPECT_EQ(row.Mode, " SSB ");
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
    EXPECT_EQ(std::pair(row.spot.x, row.spot.y), std::pair(spot.x, spot.y));
    EXPECT_EQ(std::pair(row.spotter.x, row.spotter.y), std::pair(spotter.x, spotter.y));
  }
}

// Against the library's nearest-even clamped to 32 bits; the RGB is the low 24 bits.
TEST(MarkerColors, DoublesToInt32SaturateAndHalvesGoToEven) {
  using Limits = std::numeric_limits<std::int32_t>;
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> value(-3e9, 3e9);
  for (int i = 0; i < 10000; ++i) {
    const double v = i % 2 ? value(rng) : std::trunc(value(rng) / 1e3) + 0.5;
    const double want = std::clamp<double>(std::nearbyint(v), Limits::min(), Limits::max());
    ASSERT_EQ(colorToInt32(v), want) << v;
  }
  EXPECT_EQ(colorToInt32(NAN), 0);
  EXPECT_EQ(markerRgb(0x12345678), 0x345678u);
}

// A 600-pixel surface at 10 miles per pixel, the station at the centre of pixel 300.
PixelScale tenMilesPerPixel() {
  geo::MapPlane plane;
  plane.MaxDx = 3000;
  raster::Surface surface(600, 600);
  geo::SetMapScale(plane, surface);
  return scaleOf(surface);
}

constexpr int kNone = -1000;  // no marker, no line

// Markers on the rounded pixel while they overlap; lines clipped 8 px out; a known spotter.
TEST(SlotLayout, MarkersLinesAndKnownSpotters) {
  const PixelScale scale = tenMilesPerPixel();
  const std::tuple<geo::MapPoint, int, int> markers[] = {
      {{325.0, -1005.0}, 329, 397},  // x 332.5 → 332, y 400.5 → 400
      {{-3030.0, 0.0}, -6, 297},     // pixel −3: still overlaps
      {{-3040.0, 0.0}, kNone, 0},    // pixel −4: wholly left
      {{12432.96, 0.0}, kNone, 0},  {{NAN, 0.0}, kNone, 0}, {{0.0, INFINITY}, kNone, 0},
  };
  for (const auto& [point, left, top] : markers) {
    const std::optional<MarkerBox> box = markerBoxOf(point, scale);
    EXPECT_EQ(box ? std::pair(box->left, box->top) : std::pair(kNone, 0), std::pair(left, top))
        << point.x << ", " << point.y;
  }
  const std::tuple<geo::MapPoint, geo::MapPoint, PixelSegment> lines[] = {
      {{0.0, 0.0}, {1000.0, 1000.0}, {300, 300, 400, 200}},
      {{-6000.0, 6000.0}, {0.0, 0.0}, {-8, -8, 300, 300}},
      {{-9000.0, 0.0}, {-8000.0, 5000.0}, {kNone}},
      {{0.0, 0.0}, {NAN, 0.0}, {kNone}},
  };
  for (const auto& [from, to, want] : lines) {
    const PixelSegment got = lineOf(from, to, scale).value_or(PixelSegment{kNone});
    EXPECT_EQ(std::tie(got.x1, got.y1, got.x2, got.y2),
              std::tie(want.x1, want.y1, want.x2, want.y2))
        << to.x << ", " << to.y;
  }
  // A spotter is known from latitude −90 up.
  SpotRow row;
  for (const auto& [lat, known] : {std::pair{-90.0, true}, {-90.000001, false}, {NAN, false}}) {
    row.SpotByLat = lat;
    EXPECT_EQ(spotterKnown(row), known) << lat;
  }
}

}  // namespace
}  // namespace orbelle::spots
