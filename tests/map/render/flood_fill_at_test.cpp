// FloodFillAt: forced and seed fills, the land-colour rule, cancelling, pixels off the surface,
// and the clearance that keeps a seed near an outline from flooding the land beyond it.

#include "render/flood_fill_at.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>

#include "plane/map_plane.hpp"
#include "raster/color.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

constexpr raster::Rgb kLand = raster::rgb(0, 128, 0);
constexpr raster::Rgb kWater = raster::rgb(128, 192, 255);
constexpr raster::Rgb kShore = raster::rgb(0, 0, 0);

// A map of side pixels, ±maxDx miles around a station on the equator at 0°, all land colour.
class FloodFillAtTest : public ::testing::Test {
 protected:
  void makeMap(std::int16_t maxDx, int side) {
    plane.LatHere = 0.0;
    plane.LonHere = 0.0;
    plane.MaxDx = maxDx;
    surface = raster::Surface(side, side, kLand);
    geo::SetMapScale(plane, surface);
    surface.setColor(kShore);
  }
  // Latitude and longitude (degrees) of a map point near the station, through the literal
  // projection's inverse on the equator's neighbourhood: miles / 69.072 per degree is close
  // enough for positions a few pixels wide.
  static double degreesOf(double miles) { return miles / 69.072; }
  std::optional<raster::Rgb> colourAt(double lat) const {
    return test::colourAt(plane, surface, lat, 0.0);
  }

  geo::MapPlane plane;
  raster::Surface surface{1, 1};
};

TEST_F(FloodFillAtTest, ClearanceGrowsAsPixelsShrink) {
  EXPECT_EQ(seedClearancePixels(41.46), 1);  // whole Earth on 600 pixels
  EXPECT_EQ(seedClearancePixels(10.0), 1);
  EXPECT_EQ(seedClearancePixels(1.0), 2);
  EXPECT_EQ(seedClearancePixels(1.0 / 3.0), 4);
  EXPECT_EQ(seedClearancePixels(0.1), 8);
  EXPECT_EQ(seedClearancePixels(0.0), 0);
  EXPECT_EQ(seedClearancePixels(-1.0), 0);
}

TEST_F(FloodFillAtTest, ForcedFillReplacesTheRegionWhateverItsColour) {
  makeMap(100, 200);
  surface.clear(raster::kWhite);
  const FillResult r = FloodFillAt(plane, surface, 0.0, 0.0, raster::kBlack, true, kLand, false);
  EXPECT_EQ(r.outcome, FillOutcome::Filled);
  EXPECT_EQ(r.px, 100);
  EXPECT_EQ(r.py, 100);
  EXPECT_EQ(r.painted, 200 * 200);
  EXPECT_EQ(test::countOf(surface, raster::kBlack), 200 * 200);
}

TEST_F(FloodFillAtTest, SeedFillsOnlyLandColour) {
  makeMap(100, 200);
  surface.clear(raster::kWhite);
  EXPECT_EQ(FloodFillAt(plane, surface, 0.0, 0.0, kWater, false, kLand, false).outcome,
            FillOutcome::NotLand);
  EXPECT_EQ(test::countOf(surface, raster::kWhite), 200 * 200);

  surface.clear(kLand);
  const FillResult r = FloodFillAt(plane, surface, 0.0, 0.0, kWater, false, kLand, false);
  EXPECT_EQ(r.outcome, FillOutcome::Filled);
  EXPECT_EQ(test::countOf(surface, kWater), 200 * 200);
  // Filled once, a second seed in the same body finds water colour and does nothing.
  EXPECT_EQ(FloodFillAt(plane, surface, 0.1, 0.1, kWater, false, kLand, false).outcome,
            FillOutcome::NotLand);
}

TEST_F(FloodFillAtTest, CancelDrawSkipsEveryFill) {
  makeMap(100, 200);
  EXPECT_EQ(FloodFillAt(plane, surface, 0.0, 0.0, kWater, true, kLand, true).outcome,
            FillOutcome::Cancelled);
  EXPECT_EQ(FloodFillAt(plane, surface, 0.0, 0.0, kWater, false, kLand, true).outcome,
            FillOutcome::Cancelled);
  EXPECT_EQ(test::countOf(surface, kLand), 200 * 200);
}

TEST_F(FloodFillAtTest, APositionOffTheSurfaceFillsNothing) {
  makeMap(100, 200);
  // 10° east is 690 miles away, far beyond the 100-mile square.
  EXPECT_EQ(FloodFillAt(plane, surface, 0.0, 10.0, kWater, true, kLand, false).outcome,
            FillOutcome::OffSurface);
  EXPECT_EQ(FloodFillAt(plane, surface, 0.0, 180.0, kWater, false, kLand, false).outcome,
            FillOutcome::OffSurface);
  EXPECT_EQ(test::countOf(surface, kLand), 200 * 200);
}

TEST_F(FloodFillAtTest, SeedPixelIsRoundedTiesToEven) {
  // 1 mile per pixel; pixel centre n lies at x = n − 100 miles. A seed 0.5 mile east of the
  // station lies halfway between pixels 100 and 101: ties to even gives 100; 1.5 miles gives 102.
  makeMap(100, 200);
  const double halfMile = 0.5 / 69.072;
  FillResult r = FloodFillAt(plane, surface, 0.0, halfMile, kWater, true, kLand, false);
  // The projected x is not exactly 0.5 after the trigonometry; check against the same rounding.
  const geo::PixelIndex expected = test::pixelAt(plane, surface, 0.0, halfMile);
  EXPECT_EQ(r.px, expected.px);
  EXPECT_TRUE(r.px == 100 || r.px == 101);
  surface.clear(kLand);
  r = FloodFillAt(plane, surface, 0.0, 0.0, kWater, true, kLand, false);
  EXPECT_EQ(r.px, 100);
  EXPECT_EQ(r.py, 100);
}

// A lake narrower than the clearance: its shores are two lines 3 pixels apart, and the seed lies
// between them. Without the clearance the seed would be used; with it, it is skipped.
TEST_F(FloodFillAtTest, ASeedNearAnOutlineIsSkipped) {
  makeMap(100, 200);  // 1 mile per pixel: clearance 3 pixels
  surface.line(-100.0, 2.0, 100.0, 2.0);
  surface.line(-100.0, -2.0, 100.0, -2.0);
  const FillResult r = FloodFillAt(plane, surface, 0.0, 0.0, kWater, false, kLand, false);
  EXPECT_EQ(r.outcome, FillOutcome::TooNearShore);
  EXPECT_EQ(test::countOf(surface, kWater), 0);
}

TEST_F(FloodFillAtTest, ASeedClearOfOutlinesFillsUpToThem) {
  makeMap(100, 200);
  auto drawLake = [this] {  // a closed square lake of ±20 miles around the station
    surface.moveTo(-20.0, -20.0);
    for (auto [x, y] : {std::pair{20.0, -20.0}, {20.0, 20.0}, {-20.0, 20.0}, {-20.0, -20.0}})
      surface.lineTo(x, y);
  };
  drawLake();
  const FillResult r = FloodFillAt(plane, surface, 0.0, 0.0, kWater, false, kLand, false);
  EXPECT_EQ(r.outcome, FillOutcome::Filled);
  EXPECT_EQ(r.painted, 39 * 39);
  EXPECT_EQ(surface.point(50.0, 50.0), kLand);
  // A seed in the lake but within the clearance of its shore is skipped.
  surface.clear(kLand);
  drawLake();
  EXPECT_EQ(FloodFillAt(plane, surface, 0.0, degreesOf(18.0), kWater, false, kLand, false).outcome,
            FillOutcome::TooNearShore);
}

// The fault the clearance mends: the shore as drawn is off its true place by the rounding of its
// vertices to whole miles (and to pixels), so a seed just inside a lake can lie on the land side
// of the drawn shore and would flood all the land beyond it.
TEST_F(FloodFillAtTest, ASeedOnTheLandSideOfARoundedShoreDoesNotFloodTheLand) {
  makeMap(10, 200);  // a tenth of a mile per pixel: clearance 8 pixels
  // True shore at y = 0.6 mile with the lake to its north; drawn at y = 1 after rounding.
  surface.line(-10.0, 1.0, 10.0, 1.0);
  const double seedLat = degreesOf(0.7);  // in the lake, south of the drawn shore
  ASSERT_EQ(colourAt(seedLat), kLand);
  const FillResult r = FloodFillAt(plane, surface, seedLat, 0.0, kWater, false, kLand, false);
  EXPECT_EQ(r.outcome, FillOutcome::TooNearShore);
  EXPECT_EQ(test::countOf(surface, kWater), 0);

  // The same seed 1.5 miles (15 pixels) from the drawn shore is used.
  EXPECT_EQ(FloodFillAt(plane, surface, degreesOf(2.5), 0.0, kWater, false, kLand, false).outcome,
            FillOutcome::Filled);
}

// The guarantee itself, on random straight shores: the shore's end vertices are rounded to whole
// miles and drawn; seeds are placed on the water side at random distances. Whenever a seed is
// used, its fill must stay on the water side of the shore as drawn, which lies within the drawing
// error of the true shore. A seed used on the wrong side would paint the whole land half.
TEST_F(FloodFillAtTest, AUsedSeedNeverFillsBeyondTheDrawnShore) {
  std::mt19937_64 random(99);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int used = 0, skipped = 0;
  for (std::int16_t maxDx : {100, 300, 1000, 10}) {
    makeMap(maxDx, 120);
    const double mpp = plane.MilesPerPixel;
    const double error = kLinePixelError + kHalfPixelDiagonal + kVertexRoundingMiles / mpp;
    for (int trial = 0; trial < 150; ++trial) {
      surface.clear(kLand);
      // Shore through (ox, oy) in direction angle; water on its left.
      const double angle = unit(random) * 6.283185307179586;
      const double ox = (unit(random) - 0.5) * maxDx, oy = (unit(random) - 0.5) * maxDx;
      const double dx = std::cos(angle), dy = std::sin(angle);
      const double far = 4.0 * maxDx;
      surface.line(std::round(ox - far * dx), std::round(oy - far * dy), std::round(ox + far * dx),
                   std::round(oy + far * dy));
      // Seed up to 5 pixels (and at least a hair) into the water, anywhere along the shore.
      const double depth = (0.001 + unit(random) * 5.0) * mpp;
      const double along = (unit(random) - 0.5) * maxDx;
      const double sx = ox + along * dx - depth * dy, sy = oy + along * dy + depth * dx;
      // Map miles to a position: near the station on the equator degrees are miles / 69.072.
      const FillResult r =
          FloodFillAt(plane, surface, degreesOf(sy), degreesOf(sx), kWater, false, kLand, false);
      if (r.outcome != FillOutcome::Filled) {
        ++skipped;
        continue;
      }
      ++used;
      // Every painted pixel's centre lies on the water side, or within the error of the shore.
      for (int py = 0; py < surface.height(); ++py) {
        for (int px = 0; px < surface.width(); ++px) {
          if (surface.pixel(px, py) != kWater) continue;
          const double x = surface.scaleLeft() + px * mpp, y = surface.scaleTop() - py * mpp;
          const double side = (-(x - ox) * dy + (y - oy) * dx) / mpp;  // pixels, water positive
          ASSERT_GT(side, -(error + 1.0)) << "max " << maxDx << " trial " << trial;
        }
      }
    }
  }
  EXPECT_GT(used, 100);
  EXPECT_GT(skipped, 50);
}

TEST_F(FloodFillAtTest, PixelsBeyondTheEdgeDoNotCountAgainstASeed) {
  makeMap(100, 200);
  // A seed on the surface's edge row: the clearance square sticks out of the surface.
  const double edgeLat = degreesOf(99.6);
  const FillResult r = FloodFillAt(plane, surface, edgeLat, 0.0, kWater, false, kLand, false);
  EXPECT_EQ(r.py, 0);
  EXPECT_EQ(r.outcome, FillOutcome::Filled);
}

}  // namespace
}  // namespace orbelle::render
