#include "geometry/great_circle.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "arc_core.hpp"
#include "geometry/constants.hpp"
#include "reference_sphere.hpp"

namespace orbelle::geo {
namespace {

using testing::Position;

// Bearing tolerance in degrees: the arc's cosine rounding grows into about 1.4e-6 / m degrees, m
// being the arc or its distance from 180° in radians; elsewhere the error is below 1e-5°.
double bearingTolerance(long double arcDegrees) {
  const double m = std::min<double>(arcDegrees, 180.0 - arcDegrees) * kDegToRad;
  return 1e-5 + 3e-6 / m;
}

// The distance's error is at most about √(2 × 1e-16) radians, 6e-5 miles, at the range's ends.
constexpr double kMilesTolerance = 1e-4;

void expectMatchesReference(Position a, Position b) {
  const DistanceBearingResult got = DistanceBearing(a.lat, a.lon, b.lat, b.lon);
  const testing::Reference ref = testing::referenceArcBearing(a.lat, a.lon, b.lat, b.lon);
  SCOPED_TRACE(::testing::Message()
               << "(" << a.lat << ", " << a.lon << ") to (" << b.lat << ", " << b.lon << ")");
  EXPECT_NEAR(got.miles, static_cast<double>(ref.arcDegrees) * kMilesPerDegree, kMilesTolerance);
  EXPECT_LE(testing::bearingDifference(got.bearing, static_cast<double>(ref.bearing)),
            bearingTolerance(ref.arcDegrees));
  EXPECT_GE(got.bearing, 0.0);
  EXPECT_LE(got.bearing, 360.0);
}

constexpr double kPrinted = 0.005;  // worked values, to their two printed decimals
constexpr double kClose = 1e-9;
constexpr double kExact = 0;  // the bearing exactly; the miles within 1e-9

TEST(DistanceBearing, WorkedValuesAndExactDirections) {
  struct Case {
    double lat1, lon1, lat2, lon2, miles, bearing, tolerance;
  };
  const Case cases[] = {
      {0, 0, 0, 90, 6216.48, 90, kPrinted},
      {0, 0, -10, 0, 690.72, 180, kPrinted},
      {40, -75, 51.5, 0, 3537.14, 50.48, kPrinted},
      {40, -75, 35.7, 139.7, 6757.80, 332.18, kPrinted},
      {0, 0, 0, 180, 12432.96, 0, kPrinted},
      // Fault: the quadrant was chosen by probing a target 0.1° further north, which picks the
      // wrong half for targets close to the station (82.13° here).
      {45, -84, 44.95, -83.5, 24.67, 97.87, kPrinted},
      // Along a meridian or the equator, and across the date line.
      {10, 20, 30, 20, 1381.44, 0, kExact},
      {10, 20, -30, 20, 2762.88, 180, kExact},
      {0, 10, 0, 100, 6216.48, 90, kExact},
      {0, 10, 0, -80, 6216.48, 270, kExact},
      {0, 179, 0, -179, 138.144, 90, kExact},
      {0, -179, 0, 179, 138.144, 270, kExact},
      // Identical positions give zeros before any normalisation; ±180 is one meridian.
      {12.5, -33.25, 12.5, -33.25, 0, 0, kExact},
      {20, 180, 20, -180, 0, 0, kExact},
      // Poles as target; from a pole the bearing is the limit along the station's meridian:
      // 180 − Δλ from the north pole, Δλ from the south pole.
      {10, 20, 90, 0, 5525.76, 0, kClose},
      {10, 20, -90, 0, 6907.2, 180, kClose},
      {90, 0, 0, 45, 6216.48, 135, kClose},
      {-90, 0, 0, 45, 6216.48, 45, kClose},
      {90, 0, 0, 0, 6216.48, 180, kExact},
      {90, 30, -90, 30, 12432.96, 180, kExact},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "(" << c.lat1 << ", " << c.lon1 << ") to (" << c.lat2 << ", " << c.lon2 << ")");
    const DistanceBearingResult r = DistanceBearing(c.lat1, c.lon1, c.lat2, c.lon2);
    EXPECT_NEAR(r.miles, c.miles, std::max(c.tolerance, 1e-9));
    EXPECT_LE(testing::bearingDifference(r.bearing, c.bearing), c.tolerance);
  }
  EXPECT_NEAR(DistanceBearing(0, 0, 0, 90).km, 10004.37, kPrinted);
  const DistanceBearingResult nan = DistanceBearing(NAN, 0, 10, 10);
  EXPECT_TRUE(std::isnan(nan.miles) && std::isnan(nan.bearing));
}

// The arc from its cosine v at the values no real position reaches exactly: v = ±1 exceeded by
// rounding, v = 0, and beyond a quarter circle, where the raw arc is negative and 180° is added.
TEST(DistanceBearing, ArcRulesAtTheEndsOfTheCosine) {
  struct Case {
    double sinLat1, cosLat1, sinLat2, cosLat2, cosDlon, degrees;
  };
  const Case cases[] = {
      {0, 1, 0, 1, 1, 0},
      {1, 0, 1.0000000000000002, 0, 0, 0},
      {0, 1, 1, 0, 1, 90},
      {0, 1, 0, 1, -1, 180},
      {-1, 0, 1.0000000000000002, 0, 0, 180},
      {0, 1, 0, 1, std::cos(120 * kDegToRad), 120},
  };
  for (const Case& c : cases) {
    const detail::Arc arc = detail::arcFrom(c.sinLat1, c.cosLat1, c.sinLat2, c.cosLat2, c.cosDlon);
    EXPECT_NEAR(arc.degrees, c.degrees, 1e-12) << c.degrees;
    EXPECT_EQ(arc.raw == 0, c.degrees == 0 || c.degrees == 180) << c.degrees;
    EXPECT_EQ((arc.raw < 0), (c.degrees > 90 && c.degrees < 180)) << c.degrees;
  }
}

// Random pairs over the sphere, then targets close to the station and to its antipode (the
// antipode itself included), where the arc's cosine is least well conditioned.
TEST(DistanceBearing, AgreesWithAnIndependentFormula) {
  std::mt19937_64 rng(20240611);
  for (int i = 0; i < 20000; ++i) {
    expectMatchesReference(testing::randomPosition(rng), testing::randomPosition(rng));
  }
  std::uniform_real_distribution<double> bearing(0.0, 360.0);
  for (const bool nearAntipode : {false, true}) {
    for (const double miles : {0.0, 0.5, 1.0, 2.0, 5.0, 10.0, 50.0, 300.0}) {
      for (int i = 0; i < 1000; ++i) {
        Position station = testing::randomPosition(rng);
        station.lat = std::clamp(station.lat, -89.0, 89.0);
        const Position centre =
            nearAntipode
                ? Position{-station.lat, station.lon > 0 ? station.lon - 180 : station.lon + 180}
                : station;
        expectMatchesReference(
            station, miles == 0 ? centre : testing::offsetPosition(centre, miles, bearing(rng)));
      }
    }
  }
}

}  // namespace
}  // namespace orbelle::geo
