// Placing vertices: great-circle steps (densify), ring areas (sphere_area), the minute grid
// (minute_grid).
#include "densify.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "minute_grid.hpp"
#include "sphere_area.hpp"

namespace mapdata {
namespace {

constexpr double kRad = std::numbers::pi / 180.0;

// Steps of at most the limit along the great circle; a parallel segment stays on it, also across
// 180, the short way round; short segments are kept as they are.
TEST(Densify, SplitsLongSegmentsAlongTheirCourse) {
  const LonLat a{-10, 40}, b{10, 45};
  const Polyline out = densify({a, b}, 0.1);
  ASSERT_EQ(out.size(), static_cast<std::size_t>(std::ceil(arcDegrees(a, b) / 0.1)) + 1);
  EXPECT_EQ(std::pair(out.front(), out.back()), std::pair(a, b));
  for (std::size_t i = 1; i < out.size(); ++i) {
    EXPECT_LE(arcDegrees(out[i - 1], out[i]), 0.1 + 1e-9);
    EXPECT_NEAR(arcDegrees(a, out[i]) + arcDegrees(out[i], b), arcDegrees(a, b), 1e-9);
  }
  const Polyline parallel = densify({{-123, 49}, {-95, 49}}, 0.1);
  ASSERT_GT(parallel.size(), 100u);
  for (std::size_t i = 1; i < parallel.size(); ++i) {
    EXPECT_EQ(parallel[i].lat, 49.0);
    EXPECT_GT(parallel[i].lon, parallel[i - 1].lon);
  }
  const Polyline across = densify({{179.5, 10}, {-179.5, 10}}, 0.1);
  ASSERT_GE(across.size(), 11u);
  for (const LonLat& p : across) EXPECT_GE(std::fabs(p.lon), 179.0) << p.lon;
  const Polyline shortLine = {{0, 0}, {0.05, 0.05}, {0.1, 0.05}};
  EXPECT_EQ(densify(shortLine, 0.1), shortLine);
}

// One degree square on the equator, R² · dLon · sin 1°; a ring at 80° S, the polar cap; either
// way round.
TEST(RingArea, MatchesClosedForms) {
  const double square = kEarthRadiusKm * kEarthRadiusKm * kRad * std::sin(1.0 * kRad);
  const double cap =
      2 * std::numbers::pi * kEarthRadiusKm * kEarthRadiusKm * (1 - std::sin(80 * kRad));
  Polyline round;
  for (int lon = -180; lon <= 180; lon += 10) round.push_back({static_cast<double>(lon), -80});
  for (const auto& [ring, area] :
       {std::pair{Polyline{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}, square},
        std::pair{round, cap}}) {
    EXPECT_NEAR(ringAreaKm2(ring), area, area * 1e-9);
    EXPECT_NEAR(ringAreaKm2(Polyline(ring.rbegin(), ring.rend())), area, area * 1e-9);
  }
}

// Half minutes round to even (12.5 to 12, 13.5 to 14); repeated vertices go, even across 180;
// planar areas of a square, a spike, a square across 180; a ring round the pole.
TEST(MinuteGrid, RoundsHalfToEvenDropsRepeatsAndMeasuresRings) {
  for (auto [x, rounded] : {std::pair{0.5, 0.0}, {1.5, 2.0}, {-2.5, -2.0}, {-2.5001, -3.0}})
    EXPECT_EQ(roundHalfEven(x), rounded) << x;
  EXPECT_EQ(toMinutes({12.5 / 60, 13.5 / 60}), (MinutePoint{14, 12}));
  EXPECT_EQ(toMinuteLine({{0, 0}, {0.004, 0.004}, {1, 1}, {180, 2}, {-180, 2}, {-179.9, 2}}),
            (MinuteLine{{0, 0}, {60, 60}, {120, 10800}, {120, -10794}}));
  for (const auto& [ring, twiceArea] :
       {std::pair{MinuteLine{{0, 0}, {0, 2}, {2, 2}, {2, 0}, {0, 0}}, 8LL},
        {MinuteLine{{0, 0}, {1, 1}, {0, 0}}, 0LL},
        {MinuteLine{{0, 10799}, {0, -10799}, {2, -10799}, {2, 10799}, {0, 10799}}, 8LL}}) {
    EXPECT_EQ(std::llabs(twiceGridArea(ring)), twiceArea);
  }
  EXPECT_EQ(twiceGridArea({{-4800, -10800}, {-4800, -3600}, {-4800, 3600}, {-4800, 10800}}),
            kWindsRoundPole);
}

}  // namespace
}  // namespace mapdata
