#include "plane/map_drawing.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "geometry/great_circle.hpp"

namespace orbelle::geo {
namespace {

using raster::Rgb;
using raster::Surface;

// One mile per pixel around (0, 0), random colours so that every XOR shows.
struct SmallMap {
  MapPlane plane;
  Surface surface{200, 200};

  SmallMap() {
    plane.MaxDx = 100;
    std::mt19937 rng(3);
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 200; ++x) surface.plotPixel(x, y, rng() & 0xffffff);
    }
    SetMapScale(plane, surface);
  }
};

bool inStationMarker(int x, int y) { return x >= 99 && x <= 101 && y >= 99 && y <= 101; }

// Pixels that differ, ignoring the station marker's 3 × 3 square at the centre.
int differencesOutsideMarker(const Surface& a, const Surface& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (!inStationMarker(x, y) && a.pixel(x, y) != b.pixel(x, y)) ++count;
    }
  }
  return count;
}

bool samePixels(const Surface& a, const Surface& b) {
  return differencesOutsideMarker(a, b) == 0 && a.pixel(100, 100) == b.pixel(100, 100);
}

// The dot at its pixel in its colour and width; the distance also when it is off the map.
TEST(DrawPoint, PlotsAtTheProjectedPixelAndReturnsTheDistance) {
  SmallMap map;
  map.surface.setColor(raster::rgb(0, 255, 0));
  const Rgb colour = raster::rgb(1, 2, 3);
  EXPECT_NEAR(DrawPoint(map.plane, map.surface, 0, 1, colour, 1), 69.072, 1e-6);
  EXPECT_EQ(map.surface.pixel(169, 100), colour);  // x = 69.072 miles east
  EXPECT_NE(map.surface.pixel(168, 100), colour);
  EXPECT_NE(map.surface.pixel(170, 100), colour);
  EXPECT_EQ(map.surface.color(), raster::rgb(0, 255, 0));
  DrawPoint(map.plane, map.surface, -0.5, 0, colour, 3);  // 34.536 miles south
  EXPECT_EQ(map.surface.penWidth(), 3);
  for (int y = 134; y <= 136; ++y) {
    for (int x = 99; x <= 101; ++x) EXPECT_EQ(map.surface.pixel(x, y), colour);
  }
  const Surface before = map.surface;
  EXPECT_NEAR(DrawPoint(map.plane, map.surface, 0, 10, raster::kRed, 3), 690.72, 1e-6);
  EXPECT_TRUE(samePixels(before, map.surface));
}

// The map with a white XOR line of width 2 and the red marker of width 3 drawn over it.
TEST(DrawPath, DrawsAnXorLineAndRedrawsTheStationMarker) {
  SmallMap map;
  Surface expected = map.surface;
  DrawPath(map.plane, map.surface, 0.5, 0.7, false);
  const DistanceBearingResult db = DistanceBearing(0, 0, 0.5, 0.7);
  EXPECT_TRUE(map.plane.PathShown);
  EXPECT_EQ(map.plane.PathX, std::lround(db.miles * std::sin(db.bearing * kDegToRad)));
  EXPECT_EQ(map.plane.PathY, std::lround(db.miles * std::cos(db.bearing * kDegToRad)));
  EXPECT_EQ(map.surface.mode(), raster::DrawMode::Copy);
  EXPECT_EQ(map.surface.penWidth(), 3);
  expected.setMode(raster::DrawMode::Xor);
  expected.setPenWidth(2);
  expected.line(0, 0, map.plane.PathX, map.plane.PathY, raster::kWhite);
  expected.setMode(raster::DrawMode::Copy);
  expected.setPenWidth(3);
  expected.dot(0, 0, raster::kRed);
  EXPECT_TRUE(std::equal(expected.pixels(), expected.pixels() + 200 * 200, map.surface.pixels()));
}

// Whatever came before, one line for the last position shown (or none).
TEST(DrawPath, OneLineForTheLastPositionWhateverCameBefore) {
  SmallMap fresh;
  DrawPath(fresh.plane, fresh.surface, -1.0, -0.2, false);
  SmallMap map;
  const Surface clean = map.surface;
  DrawPath(map.plane, map.surface, 0.5, 0.7, false);
  const Surface once = map.surface;
  DrawPath(map.plane, map.surface, 0.5, 0.7, false);
  EXPECT_TRUE(samePixels(once, map.surface));
  DrawPath(map.plane, map.surface, -1.0, -0.2, false);
  EXPECT_TRUE(samePixels(fresh.surface, map.surface));

  const MapPlane state = map.plane;
  DrawPath(map.plane, map.surface, 0.5, 0.7, true);
  DrawPath(map.plane, map.surface, -91, 0, true);
  EXPECT_TRUE(samePixels(fresh.surface, map.surface));
  EXPECT_EQ(std::pair(map.plane.PathX, map.plane.PathY), std::pair(state.PathX, state.PathY));
  EXPECT_TRUE(map.plane.PathShown);

  map.surface = clean;  // the overlay rebuilt from the cached map
  redrawPath(map.plane, map.surface);
  EXPECT_TRUE(samePixels(fresh.surface, map.surface));
  EXPECT_EQ(map.plane.PathX, state.PathX);

  DrawPath(map.plane, map.surface, -91, 0, false);
  EXPECT_FALSE(map.plane.PathShown);
  EXPECT_EQ(map.surface.mode(), raster::DrawMode::Copy);
  EXPECT_EQ(map.surface.penWidth(), 2);
  EXPECT_EQ(differencesOutsideMarker(clean, map.surface), 0);
  const Surface erased = map.surface;
  DrawPath(map.plane, map.surface, -91, 0, false);
  redrawPath(map.plane, map.surface);
  EXPECT_TRUE(samePixels(erased, map.surface));

  map.plane.MaxDx = 12437;  // exactly -90 is drawn: 6216.48 miles due south
  SetMapScale(map.plane, map.surface);
  DrawPath(map.plane, map.surface, -90, 0, false);
  EXPECT_TRUE(map.plane.PathShown);
  EXPECT_EQ((std::pair<int, int>(map.plane.PathX, map.plane.PathY)),
            (std::pair<int, int>(0, -6216)));
}

TEST(HeadingLine, EndsAtTheAntipodeAlongTheHeading) {
  const std::optional<MapPoint> east = headingLineEnd(90.0);
  ASSERT_TRUE(east.has_value());
  EXPECT_NEAR(east->x, kAntipodeMiles, 1e-9);
  EXPECT_NEAR(east->y, 0.0, 1e-9);
  EXPECT_NEAR(headingLineEnd(180.0)->y, -kAntipodeMiles, 1e-9);
  EXPECT_FALSE(headingLineEnd(std::numeric_limits<double>::quiet_NaN()).has_value());
}

}  // namespace
}  // namespace orbelle::geo
