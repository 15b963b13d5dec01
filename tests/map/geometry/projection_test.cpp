// The projection three ways: literally, by the fast per-station projector, and run backwards.

#include "geometry/projection.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "geometry/constants.hpp"
#include "geometry/plane_inverse.hpp"
#include "reference_sphere.hpp"

namespace orbelle::geo {
namespace {

using testing::Position;

// The fast projector stays within 1e-6 mile of the literal projection: on random stations and
// places, and on the whole-minute grid of the outlines from whole-degree stations, where exact
// bearings, the station's meridian and parallel, its antipode, the date line and the poles all
// occur. The station itself is the origin exactly. Random places projected and brought back by
// the inverse are the same place (not near the antipode, where the bearing is lost; not on the
// grid, whose due east and west bearings are ill-conditioned there too).
TEST(Projection, FastAndInverseAgreeWithTheLiteralProjection) {
  double worstFast = 0.0, worstBack = 0.0;
  auto compare = [&worstFast](const StationProjector& fast, double lat, double lon) {
    const MapPoint literal = ProjectPoint(fast.latHere(), fast.lonHere(), lat, lon);
    const MapPoint quick = fast.project(lat, lon);
    worstFast =
        std::max({worstFast, std::fabs(literal.x - quick.x), std::fabs(literal.y - quick.y)});
    return literal;
  };
  std::mt19937_64 rng(99);
  const Position poles[] = {{90, 0}, {-90, 40}, {0, 180}};  // and a station on the date line
  for (int s = 0; s < 200; ++s) {
    const Position station = s < 3 ? poles[s] : testing::randomPosition(rng);
    const StationProjector fast(station.lat, station.lon);
    const PlaneInverse inverse(station.lat, station.lon);
    for (int i = 0; i < 1000; ++i) {
      const Position p = testing::randomPosition(rng);
      const MapPoint m = compare(fast, p.lat, p.lon);
      if (std::hypot(m.x, m.y) > 12400.0) continue;
      const std::optional<GeoPosition> g = inverse.position(m);
      ASSERT_TRUE(g.has_value());
      const MapPoint back = ProjectPoint(station.lat, station.lon, g->lat, g->lon);
      worstBack = std::max({worstBack, std::fabs(back.x - m.x), std::fabs(back.y - m.y)});
      // 3e-8 radians, 1e-4 mile: the forward arc from its cosine loses √ε near its ends.
      const EarthDirection d = *inverse.direction(m), e = directionOf(p.lat, p.lon);
      EXPECT_LT(std::hypot(d.x - e.x, d.y - e.y, d.z - e.z), 3e-8);
    }
  }
  const Position stations[] = {{0, 0},   {0, 180},   {45, -84}, {-33, 151}, {90, 0},
                               {-90, 0}, {60, -180}, {1, 179},  {-1, -179}, {40, -75}};
  for (const Position station : stations) {
    const StationProjector fast(station.lat, station.lon);
    for (int latMin = -5400; latMin <= 5400; latMin += 37) {
      for (int lonMin = -10800; lonMin <= 10800; lonMin += 53) {
        compare(fast, latMin / 60.0, lonMin / 60.0);
      }
    }
    for (int minute = -10800; minute <= 10800; minute += 60) {
      compare(fast, std::clamp(minute / 120.0, -90.0, 90.0), station.lon);
      compare(fast, station.lat, minute / 60.0);
    }
    compare(fast, -station.lat, station.lon + 180.0);
    const MapPoint origin = fast.project(station.lat, station.lon);
    EXPECT_EQ(origin.x, 0.0);
    EXPECT_EQ(origin.y, 0.0);
  }
  EXPECT_LE(worstFast, 1e-6);
  EXPECT_LE(worstBack, 1e-6);
}

TEST(Projection, InverseAtTheCentreTheAntipodeAndBeyond) {
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
  // Beyond the antipode southwards the circle comes back up the other side, from the north.
  const GeoPosition beyond = inverse.positionOnCircle({0.0, -(kAntipodeMiles + 500.0)});
  const MapPoint seen = ProjectPoint(33.9, -84.179, beyond.lat, beyond.lon);
  EXPECT_NEAR(seen.x, 0.0, 1e-6);
  EXPECT_NEAR(seen.y, kAntipodeMiles - 500.0, 1e-6);
}

}  // namespace
}  // namespace orbelle::geo
