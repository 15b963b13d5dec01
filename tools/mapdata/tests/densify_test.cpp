#include "densify.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sphere_area.hpp"

namespace mapdata {
namespace {

constexpr double kRad = std::numbers::pi / 180.0;

// Signed distance (degrees) of p from the great circle through a and b.
double offCircle(LonLat a, LonLat b, LonLat p) {
  auto vec = [](LonLat q) {
    return std::array<double, 3>{std::cos(q.lat * kRad) * std::cos(q.lon * kRad),
                                 std::cos(q.lat * kRad) * std::sin(q.lon * kRad),
                                 std::sin(q.lat * kRad)};
  };
  const auto u = vec(a), v = vec(b), w = vec(p);
  const std::array<double, 3> n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                u[0] * v[1] - u[1] * v[0]};
  const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  return std::asin((n[0] * w[0] + n[1] * w[1] + n[2] * w[2]) / len) / kRad;
}

TEST(Densify, SplitsLongSegmentsAlongTheGreatCircle) {
  const LonLat a{-10, 40}, b{10, 45};
  const Polyline out = densify({a, b}, 0.1);
  const double arc = arcDegrees(a, b);
  ASSERT_EQ(out.size(), static_cast<std::size_t>(std::ceil(arc / 0.1)) + 1);
  EXPECT_EQ(out.front(), a);
  EXPECT_EQ(out.back(), b);
  for (std::size_t i = 1; i < out.size(); ++i) {
    EXPECT_LE(arcDegrees(out[i - 1], out[i]), 0.1 + 1e-9);
    EXPECT_NEAR(offCircle(a, b, out[i]), 0.0, 1e-9);
  }
  // The great circle bulges towards the pole: its midpoint (at an even number of parts) lies
  // about 0.44 degrees north of the mean latitude 42.5.
  ASSERT_EQ((out.size() - 1) % 2, 0u);
  EXPECT_NEAR(out[out.size() / 2].lat, 42.9365, 1e-3);
}

TEST(Densify, KeepsSegmentsAlongAParallelOnIt) {
  const Polyline out = densify({{-123, 49}, {-95, 49}}, 0.1);
  ASSERT_GT(out.size(), 100u);
  for (const LonLat& p : out) EXPECT_EQ(p.lat, 49.0);
  for (std::size_t i = 1; i < out.size(); ++i) EXPECT_GT(out[i].lon, out[i - 1].lon);
}

TEST(Densify, CrossesTheAntimeridianTheShortWay) {
  for (const Polyline& line :
       {Polyline{{179.5, 10}, {-179.5, 10.5}}, Polyline{{179.5, 10}, {-179.5, 10}}}) {
    const Polyline out = densify(line, 0.1);
    ASSERT_GE(out.size(), 11u);
    for (const LonLat& p : out) EXPECT_GE(std::fabs(p.lon), 179.0) << p.lon;
  }
}

TEST(Densify, LeavesShortSegmentsAlone) {
  const Polyline line = {{0, 0}, {0.05, 0.05}, {0.1, 0.05}};
  EXPECT_EQ(densify(line, 0.1), line);
  EXPECT_TRUE(densify({}, 0.1).empty());
}

TEST(RingArea, MatchesClosedForms) {
  // One degree square on the equator: R^2 * dLon * (sin 1 - sin 0).
  const Polyline square = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
  const double expected = kEarthRadiusKm * kEarthRadiusKm * kRad * std::sin(1.0 * kRad);
  EXPECT_NEAR(ringAreaKm2(square), expected, expected * 1e-9);
  const Polyline backwards(square.rbegin(), square.rend());
  EXPECT_NEAR(ringAreaKm2(backwards), expected, expected * 1e-9);

  // A ring round the south pole at 80 degrees S, either way round: the polar cap.
  Polyline cap;
  for (int lon = -180; lon <= 180; lon += 10) cap.push_back({static_cast<double>(lon), -80});
  const double capArea =
      2 * std::numbers::pi * kEarthRadiusKm * kEarthRadiusKm * (1 - std::sin(80 * kRad));
  EXPECT_NEAR(ringAreaKm2(cap), capArea, capArea * 1e-9);
  EXPECT_NEAR(ringAreaKm2(Polyline(cap.rbegin(), cap.rend())), capArea, capArea * 1e-9);
}

}  // namespace
}  // namespace mapdata
