// The projection run backwards: every place projected and brought back is the same place.

#include "geometry/plane_inverse.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/constants.hpp"

namespace orbelle::geo {
namespace {

// Longitudes compared across ±180.
double lonDifference(double a, double b) {
  const double d = std::fmod(a - b + 540.0, 360.0) - 180.0;
  return std::fabs(d);
}

TEST(PlaneInverse, ProjectedPlacesComeBack) {
  struct Station {
    double lat, lon;
  };
  const Station stations[] = {{33.9, -84.179}, {51.5, -0.125}, {-33.9, 151.2}, {0.0, 0.0},
                              {89.9, 0.0},     {-89.9, 120.0}, {64.1, -21.9}};
  const double targets[][2] = {{0.0, 0.0},    {40.0, -80.0}, {-20.0, 170.0}, {70.0, 30.0},
                               {-60.0, -70.0}, {10.0, 179.5}, {-45.0, 90.0}};
  for (const Station& s : stations) {
    const PlaneInverse inverse(s.lat, s.lon);
    for (const auto& t : targets) {
      SCOPED_TRACE(std::to_string(s.lat) + "," + std::to_string(s.lon) + " -> " +
                   std::to_string(t[0]) + "," + std::to_string(t[1]));
      const MapPoint p = ProjectPoint(s.lat, s.lon, t[0], t[1]);
      const std::optional<GeoPosition> back = inverse.position(p);
      ASSERT_TRUE(back.has_value());
      // ProjectPoint works through arcsines and arccosines that lose digits near their ends:
      // 1e-6 degree is about 0.1 m.
      EXPECT_NEAR(back->lat, t[0], 1e-6);
      EXPECT_LT(lonDifference(back->lon, t[1]), 1e-6);
    }
  }
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
  EXPECT_FALSE(inverse.direction({NAN, 0.0}).has_value());
  // Directions are unit vectors.
  const auto d = inverse.direction({3000.0, -4000.0});
  ASSERT_TRUE(d.has_value());
  EXPECT_NEAR(d->x * d->x + d->y * d->y + d->z * d->z, 1.0, 1e-12);
}

}  // namespace
}  // namespace orbelle::geo
