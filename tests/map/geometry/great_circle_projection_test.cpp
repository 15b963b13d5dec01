// Distance, bearing and the projection against an independent spherical reference.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "geometry/constants.hpp"
#include "geometry/great_circle.hpp"
#include "geometry/plane_inverse.hpp"
#include "geometry/projection.hpp"
#include "reference_sphere.hpp"

namespace orbelle::geo {
namespace {

using testing::Position;

constexpr double kPrinted = 0.005;  // worked values, to their two printed decimals
constexpr double kClose = 1e-9;
constexpr double kExact = 0;  // the bearing exactly; the miles within 1e-9

// Worked values; exact bearings on meridians, the equator, the date line, at poles; zeros.
TEST(DistanceBearing, WorkedValuesAndExactDirections) {
  struct Case {
    double lat1, lon1, lat2, lon2, miles, bearing, tolerance;
  };
  const Case cases[] = {
      {40, -75, 51.5, 0, 3537.14, 50.48, kPrinted},
      {0, 0, 0, 180, 12432.96, 0, kPrinted},
      // Fault: probing 0.1° further north picked the wrong quadrant close to the station.
      {45, -84, 44.95, -83.5, 24.67, 97.87, kPrinted},
      {10, 20, 30, 20, 1381.44, 0, kExact},
      {0, 10, 0, 100, 6216.48, 90, kExact},
      {0, 10, 0, -80, 6216.48, 270, kExact},
      {0, 179, 0, -179, 138.144, 90, kExact},
      {12.5, -33.25, 12.5, -33.25, 0, 0, kExact},
      {20, 180, 20, -180, 0, 0, kExact},
      {10, 20, 90, 0, 5525.76, 0, kClose},
      {90, 0, 0, 45, 6216.48, 135, kClose},
      {-90, 0, 0, 45, 6216.48, 45, kClose},
      {90, 30, -90, 30, 12432.96, 180, kExact},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "(" << c.lat1 << ", " << c.lon1 << ") to (" << c.lat2 << ", " << c.lon2 << ")");
    const DistanceBearingResult r = DistanceBearing(c.lat1, c.lon1, c.lat2, c.lon2);
    EXPECT_NEAR(r.miles, c.miles, std::max(c.tolerance, 1e-9));
    EXPECT_LE(std::fabs(std::remainder(r.bearing - c.bearing, 360.0)), c.tolerance);
  }
  EXPECT_NEAR(DistanceBearing(0, 0, 0, 90).km, 10004.37, kPrinted);
  const DistanceBearingResult nan = DistanceBearing(NAN, 0, 10, 10);
  EXPECT_TRUE(std::isnan(nan.miles) && std::isnan(nan.bearing));
}

// Random pairs, then targets near the station and its antipode, where the arc's cosine is worst.
TEST(DistanceBearing, AgreesWithAnIndependentFormula) {
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> bearing(0.0, 360.0);
  auto check = [](Position a, Position b) {
    const DistanceBearingResult got = DistanceBearing(a.lat, a.lon, b.lat, b.lon);
    const testing::Reference ref = testing::referenceArcBearing(a.lat, a.lon, b.lat, b.lon);
    const double m = std::min<double>(ref.arcDegrees, 180.0 - ref.arcDegrees) * kDegToRad;
    SCOPED_TRACE(::testing::Message()
                 << "(" << a.lat << ", " << a.lon << ") to (" << b.lat << ", " << b.lon << ")");
    EXPECT_NEAR(got.miles, static_cast<double>(ref.arcDegrees) * kMilesPerDegree, 1e-4);
    EXPECT_LE(std::fabs(std::remainder(got.bearing - static_cast<double>(ref.bearing), 360.0)),
              1e-5 + 3e-6 / m);
    EXPECT_TRUE(got.bearing >= 0.0 && got.bearing <= 360.0);
  };
  for (int i = 0; i < 20000; ++i) check(testing::randomPosition(rng), testing::randomPosition(rng));
  for (const bool nearAntipode : {false, true}) {
    for (const double miles : {0.0, 0.5, 1.0, 2.0, 5.0, 10.0, 50.0, 300.0}) {
      for (int i = 0; i < 1000; ++i) {
        Position station = testing::randomPosition(rng);
        station.lat = std::clamp(station.lat, -89.0, 89.0);
        const Position centre =
            nearAntipode
                ? Position{-station.lat, station.lon > 0 ? station.lon - 180 : station.lon + 180}
                : station;
        const double deg = miles / kMilesPerDegree, t = bearing(rng) * kDegToRad;
        check(station, {std::clamp(centre.lat + deg * std::cos(t), -90.0, 90.0),
                        centre.lon + deg * std::sin(t)});
      }
    }
  }
}

// Fast projector within 1e-6 mile of the literal one (random and grid); the inverse round-trips.
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
    EXPECT_TRUE(origin.x == 0.0 && origin.y == 0.0);
  }
  EXPECT_LE(worstFast, 1e-6);
  EXPECT_LE(worstBack, 1e-6);
}

// The inverse at the centre, the antipode, beyond the rim, and round past the antipode.
TEST(Projection, InverseAtTheCentreTheAntipodeAndBeyond) {
  const PlaneInverse inverse(33.9, -84.179);
  for (const auto& [point, place] : {std::pair{MapPoint{0.0, 0.0}, Position{33.9, -84.179}},
                                     {MapPoint{0.0, -kAntipodeMiles}, Position{-33.9, 95.821}}}) {
    const GeoPosition got = inverse.position(point).value();
    EXPECT_NEAR(got.lat, place.lat, 1e-9);
    EXPECT_NEAR(got.lon, place.lon, 1e-9);
  }
  EXPECT_FALSE(inverse.position({kAntipodeMiles, 1.0}).has_value());
  EXPECT_FALSE(inverse.direction({NAN, 0.0}).has_value());
  const GeoPosition beyond = inverse.positionOnCircle({0.0, -(kAntipodeMiles + 500.0)});
  const MapPoint seen = ProjectPoint(33.9, -84.179, beyond.lat, beyond.lon);
  EXPECT_NEAR(std::hypot(seen.x, seen.y - (kAntipodeMiles - 500.0)), 0.0, 1e-6);
}

}  // namespace
}  // namespace orbelle::geo
