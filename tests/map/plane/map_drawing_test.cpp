#include "plane/map_drawing.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "geometry/great_circle.hpp"

namespace orbelle::geo {
namespace {

using raster::Surface;

// One mile per pixel around (0, 0), random colours so that every XOR shows.
struct SmallMap {
  MapPlane plane;
  Surface surface{200, 200};
  SmallMap() {
    plane.MaxDx = 100;
    std::mt19937 rng(3);
    for (int i = 0; i < 200 * 200; ++i) surface.plotPixel(i % 200, i / 200, rng() & 0xffffff);
    SetMapScale(plane, surface);
  }
};

// Pixels that differ, outside the station marker's 3 × 3 square at the centre unless counted.
int differences(const Surface& a, const Surface& b, bool countMarker = true) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const bool marker = std::abs(x - 100) <= 1 && std::abs(y - 100) <= 1;
      count += (countMarker || !marker) && a.pixel(x, y) != b.pixel(x, y);
    }
  }
  return count;
}

// The dot at its pixel in its colour and width, the pen's colour kept; the distance also when
// it is off the map (nothing drawn).
TEST(DrawPoint, PlotsAtTheProjectedPixelAndReturnsTheDistance) {
  SmallMap map;
  Surface expected = map.surface;
  map.surface.setColor(raster::kRed);
  EXPECT_NEAR(DrawPoint(map.plane, map.surface, 0, 1, raster::kBlack, 1), 69.072, 1e-6);
  EXPECT_NEAR(DrawPoint(map.plane, map.surface, -0.5, 0, raster::kWhite, 3), 34.536, 1e-6);
  EXPECT_NEAR(DrawPoint(map.plane, map.surface, 0, 10, raster::kRed, 3), 690.72, 1e-6);
  EXPECT_EQ(map.surface.color(), raster::kRed);
  EXPECT_EQ(map.surface.penWidth(), 3);
  expected.plotPixel(169, 100, raster::kBlack);  // 69.072 miles east
  for (int i = 0; i < 9; ++i) expected.plotPixel(99 + i % 3, 134 + i / 3, raster::kWhite);
  EXPECT_EQ(differences(expected, map.surface), 0);
}

// A white XOR line of width 2 to the position and the red marker of width 3 drawn over it; then
// whatever came before, one line for the last position shown (or none).
TEST(DrawPath, OneXorLineForTheLastPositionShown) {
  SmallMap map, fresh;
  const Surface clean = map.surface;
  DrawPath(map.plane, map.surface, 0.5, 0.7, false);
  const DistanceBearingResult db = DistanceBearing(0, 0, 0.5, 0.7);
  EXPECT_TRUE(map.plane.PathShown);
  EXPECT_EQ(map.plane.PathX, std::lround(db.miles * std::sin(db.bearing * kDegToRad)));
  EXPECT_EQ(map.plane.PathY, std::lround(db.miles * std::cos(db.bearing * kDegToRad)));
  EXPECT_EQ(std::pair(map.surface.mode(), map.surface.penWidth()),
            std::pair(raster::DrawMode::Copy, 3));
  Surface expected = clean;
  expected.setMode(raster::DrawMode::Xor);
  expected.setPenWidth(2);
  expected.line(0, 0, map.plane.PathX, map.plane.PathY, raster::kWhite);
  expected.setMode(raster::DrawMode::Copy);
  expected.setPenWidth(3);
  expected.dot(0, 0, raster::kRed);
  EXPECT_EQ(differences(expected, map.surface), 0);
  DrawPath(map.plane, map.surface, 0.5, 0.7, false);
  EXPECT_EQ(differences(expected, map.surface), 0);

  DrawPath(fresh.plane, fresh.surface, -1.0, -0.2, false);
  DrawPath(map.plane, map.surface, -1.0, -0.2, false);
  EXPECT_EQ(differences(fresh.surface, map.surface), 0);
  const MapPlane state = map.plane;
  DrawPath(map.plane, map.surface, 0.5, 0.7, true);  // ignored while drawing
  DrawPath(map.plane, map.surface, -91, 0, true);
  EXPECT_EQ(differences(fresh.surface, map.surface), 0);
  EXPECT_EQ(std::tuple(map.plane.PathX, map.plane.PathY, map.plane.PathShown),
            std::tuple(state.PathX, state.PathY, true));
  map.surface = clean;  // the overlay rebuilt from the cached map
  redrawPath(map.plane, map.surface);
  EXPECT_EQ(differences(fresh.surface, map.surface), 0);

  DrawPath(map.plane, map.surface, -91, 0, false);  // below -90: erased
  EXPECT_FALSE(map.plane.PathShown);
  EXPECT_EQ(std::pair(map.surface.mode(), map.surface.penWidth()),
            std::pair(raster::DrawMode::Copy, 2));
  EXPECT_EQ(differences(clean, map.surface, false), 0);
  const Surface erased = map.surface;
  DrawPath(map.plane, map.surface, -91, 0, false);
  redrawPath(map.plane, map.surface);
  EXPECT_EQ(differences(erased, map.surface), 0);

  map.plane.MaxDx = 12437;  // exactly -90 is drawn: 6216.48 miles due south
  SetMapScale(map.plane, map.surface);
  DrawPath(map.plane, map.surface, -90, 0, false);
  EXPECT_EQ(std::tuple(map.plane.PathShown, map.plane.PathX, map.plane.PathY),
            std::tuple(true, 0, -6216));
}

TEST(HeadingLine, EndsAtTheAntipodeAlongTheHeading) {
  EXPECT_NEAR(headingLineEnd(90.0)->x, kAntipodeMiles, 1e-9);
  EXPECT_NEAR(headingLineEnd(90.0)->y, 0.0, 1e-9);
  EXPECT_NEAR(headingLineEnd(180.0)->y, -kAntipodeMiles, 1e-9);
  EXPECT_FALSE(headingLineEnd(std::numeric_limits<double>::quiet_NaN()).has_value());
}

}  // namespace
}  // namespace orbelle::geo
