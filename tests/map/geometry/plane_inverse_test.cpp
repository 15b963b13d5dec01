// The projection run backwards: every place projected and brought back is the same place.

#include "geometry/plane_inverse.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "geometry/constants.hpp"
#include "reference_sphere.hpp"

namespace orbelle::geo {
namespace {

// Random places from stations on the poles, the date line and elsewhere come back to the map
// point they were projected to.
TEST(PlaneInverse, ProjectedPlacesComeBack) {
  std::mt19937_64 random(11);
  std::vector<testing::Position> stations{{90.0, 0.0}, {-90.0, 40.0}, {0.0, 180.0}, {33.9, -84.179}};
  for (int i = 0; i < 40; ++i) stations.push_back(testing::randomPosition(random));
  double worst = 0.0;
  for (const testing::Position& s : stations) {
    const PlaneInverse inverse(s.lat, s.lon);
    for (int i = 0; i < 2000; ++i) {
      const testing::Position p = testing::randomPosition(random);
      const MapPoint m = ProjectPoint(s.lat, s.lon, p.lat, p.lon);
      if (std::hypot(m.x, m.y) > 12400.0) continue;  // the bearing is lost near the antipode
      const std::optional<GeoPosition> g = inverse.position(m);
      ASSERT_TRUE(g.has_value());
      const MapPoint back = ProjectPoint(s.lat, s.lon, g->lat, g->lon);
      worst = std::max({worst, std::fabs(back.x - m.x), std::fabs(back.y - m.y)});
    }
  }
  EXPECT_LT(worst, 1e-6);
}

TEST(PlaneInverse, CentreAntipodeAndBeyond) {
  const PlaneInverse inverse(33.9, -84.179);
  const auto centre = inverse.position({0.0, 0.0});
  ASSERT_TRUE(centre.has_value());
  EXPECT_NEAR(centre->lat, 33.9, 1e-12);
  EXPECT_NEAR(centre->lon, -84.179, 1e-12);
  const auto antipode = inverse.position({0.0, -kAntipodeMiles});
  ASSERT_TRUE(antipode.has_value());
  EXPECT_NEAR(antipode->lat, -33.9, 1e-9);
  EXPECT_NEAR(antipode->lon, 95.821, 1e-9);
  EXPECT_FALSE(inverse.position({kAntipodeMiles, 1.0}).has_value());
  // Beyond the antipode southwards the circle comes back up the other side, from the north.
  const GeoPosition beyond = inverse.positionOnCircle({0.0, -(kAntipodeMiles + 500.0)});
  const MapPoint seen = ProjectPoint(33.9, -84.179, beyond.lat, beyond.lon);
  EXPECT_NEAR(seen.x, 0.0, 1e-6);
  EXPECT_NEAR(seen.y, kAntipodeMiles - 500.0, 1e-6);
  EXPECT_FALSE(inverse.direction({NAN, 0.0}).has_value());
  // Directions are unit vectors.
  const auto d = inverse.direction({3000.0, -4000.0});
  ASSERT_TRUE(d.has_value());
  EXPECT_NEAR(d->x * d->x + d->y * d->y + d->z * d->z, 1.0, 1e-12);
}

}  // namespace
}  // namespace orbelle::geo
