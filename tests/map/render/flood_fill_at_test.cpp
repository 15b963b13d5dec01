// FloodFillAt: forced and seed fills, and the clearance that keeps seeds from flooding the land.

#include "render/flood_fill_at.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "plane/map_plane.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

constexpr raster::Rgb kLand = raster::rgb(0, 128, 0);
constexpr raster::Rgb kWater = raster::rgb(128, 192, 255);

// A map of side pixels, ±maxDx miles around a station at (0, 0), all land, a black pen.
raster::Surface landMap(geo::MapPlane& plane, std::int16_t maxDx, int side) {
  plane.MaxDx = maxDx;
  raster::Surface surface(side, side, kLand);
  geo::SetMapScale(plane, surface);
  surface.setColor(raster::kBlack);
  return surface;
}
// Degrees of a distance in miles near the station: close enough for positions a few pixels wide.
double degreesOf(double miles) { return miles / 69.072; }

// Each row fills a fresh 200-pixel map (mode: f forced, s seed, capitals cancelled); exactly the
// pixels the fill reports must have the fill colour, and the seed pixel is reported.
TEST(FloodFillAt, OutcomesOfForcedAndSeedFills) {
  using enum FillOutcome;
  using Draw = std::function<void(raster::Surface&)>;
  // Shores of a lake narrower than the clearance at a mile per pixel: lines 4 pixels apart.
  const Draw narrowLake = [](raster::Surface& s) {
    s.line(-100.0, 2.0, 100.0, 2.0);
    s.line(-100.0, -2.0, 100.0, -2.0);
  };
  const Draw squareLake = [](raster::Surface& s) {  // ±20 miles round the station
    s.moveTo(-20.0, -20.0);
    for (auto [x, y] : {std::pair{20.0, -20.0}, {20.0, 20.0}, {-20.0, 20.0}, {-20.0, -20.0}})
      s.lineTo(x, y);
  };
  const Draw border = [](raster::Surface& s) { s.line(-100, 1, 100, 1, kCountryColor); };
  // The fault the clearance mends: the shore as drawn is off its true place by the rounding of its
  // vertices (true at 0.6 mile north, drawn at 1), so a seed just inside the lake to its north lies
  // on the land side of the drawn shore and would flood all the land beyond it.
  const Draw roundedShore = [](raster::Surface& s) { s.line(-10.0, 1.0, 10.0, 1.0); };
  struct Case {
    const char* name;
    Draw draw;
    double lat, lon;
    char mode;
    FillOutcome outcome;
    std::int64_t painted;
    int px = -1, py = -1;
    std::int16_t maxDx = 100;
    raster::Rgb background = kLand;
  };
  const Case cases[] = {
      {"forced: any colour", nullptr, 0.0, 0.0, 'f', Filled, 40000, 100, 100, 100, raster::kWhite},
      {"seed on land", nullptr, 0.0, 0.0, 's', Filled, 40000},
      {"seed off land", nullptr, 0.0, 0.0, 's', NotLand, 0, -1, -1, 100, raster::kWhite},
      {"cancelled seed", nullptr, 0.0, 0.0, 'S', Cancelled, 0},
      {"690 miles east of a 100-mile map", nullptr, 0.0, 10.0, 'f', OffSurface, 0},
      {"antipode", nullptr, 0.0, 180.0, 's', OffSurface, 0},
      {"seed in a lake narrower than the clearance", narrowLake, 0.0, 0.0, 's', TooNearShore, 0},
      {"border lines do not count against a seed", border, 0.0, 0.0, 's', Filled, 200 * 100},
      {"seed clear of the shores fills up to them", squareLake, 0.0, 0.0, 's', Filled, 39 * 39},
      {"seed in the lake within its shore's clearance", squareLake, 0.0, degreesOf(18.0), 's',
       TooNearShore, 0},
      {"pixels beyond the edge do not count", nullptr, degreesOf(99.6), 0.0, 's', Filled, 40000,
       100, 0},
      {"seed on the land side of a rounded shore", roundedShore, degreesOf(0.7), 0.0, 's',
       TooNearShore, 0, -1, -1, 10},
      {"the same 15 pixels from the drawn shore", roundedShore, degreesOf(2.5), 0.0, 's', Filled,
       200 * 90, -1, -1, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    geo::MapPlane plane;
    raster::Surface surface = landMap(plane, c.maxDx, 200);
    surface.clear(c.background);
    if (c.draw) c.draw(surface);
    const FillResult r = FloodFillAt(plane, surface, c.lat, c.lon, kWater,
                                     std::tolower(c.mode) == 'f', kLand, std::isupper(c.mode));
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.painted, c.painted);
    EXPECT_EQ(test::countOf(surface, kWater), c.painted);
    EXPECT_TRUE(c.px < 0 || std::pair(r.px, r.py) == std::pair(c.px, c.py)) << r.px << ", " << r.py;
  }
}

// On random rounded shores a seed that is used never fills beyond the shore as drawn.
TEST(FloodFillAt, AUsedSeedNeverFillsBeyondTheDrawnShore) {
  std::mt19937_64 random(99);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int used = 0, skipped = 0;
  for (std::int16_t maxDx : {100, 300, 1000, 10}) {
    geo::MapPlane plane;
    raster::Surface surface = landMap(plane, maxDx, 120);
    const double mpp = plane.MilesPerPixel;
    const double error = kLinePixelError + kHalfPixelDiagonal + kVertexRoundingMiles / mpp;
    for (int trial = 0; trial < 150; ++trial) {
      surface.clear(kLand);
      // Shore through (ox, oy) in direction angle, water on its left; the seed up to 5 pixels (and
      // at least a hair) into the water, anywhere along it.
      const double angle = unit(random) * 6.283185307179586;
      const double ox = (unit(random) - 0.5) * maxDx, oy = (unit(random) - 0.5) * maxDx;
      const double dx = std::cos(angle), dy = std::sin(angle), far = 4.0 * maxDx;
      surface.line(std::round(ox - far * dx), std::round(oy - far * dy), std::round(ox + far * dx),
                   std::round(oy + far * dy));
      const double depth = (0.001 + unit(random) * 5.0) * mpp;
      const double along = (unit(random) - 0.5) * maxDx;
      const double sx = ox + along * dx - depth * dy, sy = oy + along * dy + depth * dx;
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
