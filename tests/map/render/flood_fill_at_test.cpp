// FloodFillAt: forced and seed fills, and the clearance that keeps seeds from flooding the land.

#include "render/flood_fill_at.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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
  // Degrees of a distance in miles near the station on the equator: close enough for positions a
  // few pixels wide.
  static double degreesOf(double miles) { return miles / 69.072; }

  geo::MapPlane plane;
  raster::Surface surface{1, 1};
};

using Draw = std::function<void(raster::Surface&)>;

// Shores of a lake narrower than the clearance at a mile per pixel: two lines 4 pixels apart.
void narrowLake(raster::Surface& s) {
  s.line(-100.0, 2.0, 100.0, 2.0);
  s.line(-100.0, -2.0, 100.0, -2.0);
}
// A closed square lake of ±20 miles around the station.
void squareLake(raster::Surface& s) {
  s.moveTo(-20.0, -20.0);
  for (auto [x, y] : {std::pair{20.0, -20.0}, {20.0, 20.0}, {-20.0, 20.0}, {-20.0, -20.0}})
    s.lineTo(x, y);
}

TEST_F(FloodFillAtTest, ClearanceGrowsAsPixelsShrink) {
  const std::pair<double, int> cases[] = {{41.46, 1}, {10.0, 1}, {1.0, 2}, {1.0 / 3.0, 4},
                                          {0.1, 8},   {0.0, 0},  {-1.0, 0}};
  for (auto [milesPerPixel, pixels] : cases)
    EXPECT_EQ(seedClearancePixels(milesPerPixel), pixels) << milesPerPixel;
}

// Each row fills a fresh map; exactly the pixels the fill reports must have the fill colour.
TEST_F(FloodFillAtTest, OutcomesOfForcedAndSeedFills) {
  auto check = [this](const char* name, std::int16_t maxDx, raster::Rgb background,
                      const Draw& draw, double lat, double lon, bool force, bool cancel,
                      FillOutcome outcome, std::int64_t painted) {
    SCOPED_TRACE(name);
    makeMap(maxDx, 200);
    surface.clear(background);
    if (draw) draw(surface);
    const FillResult r = FloodFillAt(plane, surface, lat, lon, kWater, force, kLand, cancel);
    EXPECT_EQ(r.outcome, outcome);
    EXPECT_EQ(r.painted, painted);
    EXPECT_EQ(test::countOf(surface, kWater), painted);
    return r;
  };
  const FillResult forced = check("forced: any colour", 100, raster::kWhite, nullptr, 0.0, 0.0,
                                  true, false, FillOutcome::Filled, 200 * 200);
  EXPECT_EQ(forced.px, 100);
  EXPECT_EQ(forced.py, 100);
  check("seed on land", 100, kLand, nullptr, 0.0, 0.0, false, false, FillOutcome::Filled,
        200 * 200);
  check("seed off land", 100, raster::kWhite, nullptr, 0.0, 0.0, false, false, FillOutcome::NotLand,
        0);
  check("cancelled forced", 100, kLand, nullptr, 0.0, 0.0, true, true, FillOutcome::Cancelled, 0);
  check("cancelled seed", 100, kLand, nullptr, 0.0, 0.0, false, true, FillOutcome::Cancelled, 0);
  check("690 miles east of a 100-mile map", 100, kLand, nullptr, 0.0, 10.0, true, false,
        FillOutcome::OffSurface, 0);
  check("antipode", 100, kLand, nullptr, 0.0, 180.0, false, false, FillOutcome::OffSurface, 0);
  check("seed in a lake narrower than the clearance", 100, kLand, narrowLake, 0.0, 0.0, false,
        false, FillOutcome::TooNearShore, 0);
  auto border = [](raster::Surface& s) { s.line(-100.0, 1.0, 100.0, 1.0, kCountryColor); };
  check("border lines do not count against a seed", 100, kLand, border, 0.0, 0.0, false, false,
        FillOutcome::Filled, 200 * 100);  // the rows south of it
  check("seed clear of the shores fills up to them", 100, kLand, squareLake, 0.0, 0.0, false, false,
        FillOutcome::Filled, 39 * 39);
  check("seed in the lake within the clearance of its shore", 100, kLand, squareLake, 0.0,
        degreesOf(18.0), false, false, FillOutcome::TooNearShore, 0);
  const FillResult edge = check("pixels beyond the edge do not count", 100, kLand, nullptr,
                                degreesOf(99.6), 0.0, false, false, FillOutcome::Filled, 200 * 200);
  EXPECT_EQ(edge.py, 0);
  // The fault the clearance mends: the shore as drawn is off its true place by the rounding of its
  // vertices (true at 0.6 mile north, drawn at 1), so a seed just inside the lake to its north
  // lies on the land side of the drawn shore and would flood all the land beyond it.
  auto roundedShore = [](raster::Surface& s) { s.line(-10.0, 1.0, 10.0, 1.0); };
  check("seed on the land side of a rounded shore", 10, kLand, roundedShore, degreesOf(0.7), 0.0,
        false, false, FillOutcome::TooNearShore, 0);
  check("the same 15 pixels from the drawn shore", 10, kLand, roundedShore, degreesOf(2.5), 0.0,
        false, false, FillOutcome::Filled, 200 * 90);  // the rows north of it
}

// On random rounded shores a seed that is used never fills beyond the shore as drawn.
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

}  // namespace
}  // namespace orbelle::render
