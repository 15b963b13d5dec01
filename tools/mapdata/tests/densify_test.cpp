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

TEST(Densify, SplitsLongSegmentsAlongTheirCourse) {
  const LonLat a{-10, 40}, b{10, 45};
  const Polyline out = densify({a, b}, 0.1);
  ASSERT_EQ(out.size(), static_cast<std::size_t>(std::ceil(arcDegrees(a, b) / 0.1)) + 1);
  EXPECT_EQ(out.front(), a);
  EXPECT_EQ(out.back(), b);
  for (std::size_t i = 1; i < out.size(); ++i) {
    EXPECT_LE(arcDegrees(out[i - 1], out[i]), 0.1 + 1e-9);
    // On the great circle: no detour through the inserted point.
    EXPECT_NEAR(arcDegrees(a, out[i]) + arcDegrees(out[i], b), arcDegrees(a, b), 1e-9);
  }
  // The great circle bulges towards the pole: its midpoint (at an even number of parts) lies
  // about 0.44 degrees north of the mean latitude 42.5.
  ASSERT_EQ((out.size() - 1) % 2, 0u);
  EXPECT_NEAR(out[out.size() / 2].lat, 42.9365, 1e-3);

  // A segment along a parallel stays on it; one across 180 goes the short way round.
  const Polyline parallel = densify({{-123, 49}, {-95, 49}}, 0.1);
  ASSERT_GT(parallel.size(), 100u);
  for (std::size_t i = 1; i < parallel.size(); ++i) {
    EXPECT_EQ(parallel[i].lat, 49.0);
    EXPECT_GT(parallel[i].lon, parallel[i - 1].lon);
  }
  for (const Polyline& line :
       {Polyline{{179.5, 10}, {-179.5, 10.5}}, Polyline{{179.5, 10}, {-179.5, 10}}}) {
    const Polyline across = densify(line, 0.1);
    ASSERT_GE(across.size(), 11u);
    for (const LonLat& p : across) EXPECT_GE(std::fabs(p.lon), 179.0) << p.lon;
  }
  const Polyline shortLine = {{0, 0}, {0.05, 0.05}, {0.1, 0.05}};
  EXPECT_EQ(densify(shortLine, 0.1), shortLine);
}

TEST(RingArea, MatchesClosedForms) {
  // One degree square on the equator, R^2 * dLon * sin 1; a ring at 80 degrees S, the polar cap.
  const double square = kEarthRadiusKm * kEarthRadiusKm * kRad * std::sin(1.0 * kRad);
  const double cap =
      2 * std::numbers::pi * kEarthRadiusKm * kEarthRadiusKm * (1 - std::sin(80 * kRad));
  Polyline round;
  for (int lon = -180; lon <= 180; lon += 10) round.push_back({static_cast<double>(lon), -80});
  for (const auto& [ring, area] :
       {std::pair{Polyline{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}, square},
        std::pair{round, cap}}) {
    EXPECT_NEAR(ringAreaKm2(ring), area, area * 1e-9);  // either way round
    EXPECT_NEAR(ringAreaKm2(Polyline(ring.rbegin(), ring.rend())), area, area * 1e-9);
  }
}

TEST(MinuteGrid, RoundsHalfToEvenAndDropsRepeatedVertices) {
  const double x[] = {0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 2.4999, -2.5001};
  const double rounded[] = {0.0, 2.0, 2.0, 0.0, -2.0, -2.0, 2.0, -3.0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(roundHalfEven(x[i]), rounded[i]) << x[i];
  // 12.5 minutes is a tie: to 12; 13.5 to 14. A repeat may lie on the other side of 180.
  EXPECT_EQ(toMinutes({12.5 / 60, 13.5 / 60}), (MinutePoint{14, 12}));
  EXPECT_EQ(toMinutes({-180, 90}), (MinutePoint{5400, -10800}));
  EXPECT_EQ(toMinuteLine({{0, 0}, {0.004, 0.004}, {1, 1}, {180, 2}, {-180, 2}, {-179.9, 2}}),
            (MinuteLine{{0, 0}, {60, 60}, {120, 10800}, {120, -10794}}));
}

TEST(MinuteGrid, GridAreaOfRings) {
  // A square, flat, a spike, a square across 180; a ring round the pole has no planar area.
  for (const auto& [ring, twiceArea] :
       {std::pair{MinuteLine{{0, 0}, {0, 2}, {2, 2}, {2, 0}, {0, 0}}, 8LL},
        {MinuteLine{{0, 0}, {0, 1}, {0, 2}, {0, 0}}, 0LL},
        {MinuteLine{{0, 0}, {1, 1}, {0, 0}}, 0LL},
        {MinuteLine{{0, 10799}, {0, -10799}, {2, -10799}, {2, 10799}, {0, 10799}}, 8LL}}) {
    EXPECT_EQ(std::llabs(twiceGridArea(ring)), twiceArea);
  }
  EXPECT_EQ(twiceGridArea({{-4800, -10800}, {-4800, -3600}, {-4800, 3600}, {-4800, 10800}}),
            kWindsRoundPole);
}

}  // namespace
}  // namespace mapdata
