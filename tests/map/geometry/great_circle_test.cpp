#include "geometry/great_circle.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "arc_core.hpp"
#include "geometry/constants.hpp"
#include "reference_sphere.hpp"

namespace orbelle::geo {
namespace {

using testing::bearingDifference;
using testing::offsetPosition;
using testing::Position;
using testing::randomPosition;
using testing::referenceArcBearing;

std::string twoDecimals(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

// Bearing tolerance against the reference, in degrees. The routine takes the arc from its
// cosine, whose rounding (a few units of 1e-16) grows into a relative error of about 3e-16 / m²
// in the bearing's sine, m being the arc or its distance from 180° in radians; near 90° the
// arcsine turns that into about 1.4e-6 / m degrees. Far from both ends the error is below 1e-5°.
double bearingTolerance(long double arcDegrees) {
  const double m = std::min<double>(arcDegrees, 180.0 - arcDegrees) * kDegToRad;
  return 1e-5 + 3e-6 / m;
}

// The distance comes from the same arc: its error is at most about √(2 × 1e-16) radians, 6e-5
// miles, at the ends of the range and far less between them.
constexpr double kMilesTolerance = 1e-4;

Position antipodeOf(Position p) { return {-p.lat, p.lon > 0 ? p.lon - 180 : p.lon + 180}; }

void expectMatchesReference(double lat1, double lon1, double lat2, double lon2) {
  const DistanceBearingResult got = DistanceBearing(lat1, lon1, lat2, lon2);
  const testing::Reference ref = referenceArcBearing(lat1, lon1, lat2, lon2);
  SCOPED_TRACE(::testing::Message()
               << "(" << lat1 << ", " << lon1 << ") to (" << lat2 << ", " << lon2 << ")");
  EXPECT_NEAR(got.miles, static_cast<double>(ref.arcDegrees) * kMilesPerDegree, kMilesTolerance);
  EXPECT_LE(bearingDifference(got.bearing, static_cast<double>(ref.bearing)),
            bearingTolerance(ref.arcDegrees));
  EXPECT_GE(got.bearing, 0.0);
  EXPECT_LE(got.bearing, 360.0);
}

TEST(DistanceBearing, WorkedValuesComeOutToTheirPrintedDigits) {
  struct Case {
    double lat1, lon1, lat2, lon2;
    const char* miles;
    const char* km;  // nullptr where no kilometre value is given
    const char* bearing;
  };
  const Case cases[] = {
      {0, 0, 0, 90, "6216.48", "10004.37", "90.00"},
      {0, 0, 0, -90, "6216.48", "10004.37", "270.00"},
      {0, 0, -10, 0, "690.72", nullptr, "180.00"},
      {40, -75, 51.5, 0, "3537.14", nullptr, "50.48"},
      {40, -75, 35.7, 139.7, "6757.80", nullptr, "332.18"},
      {0, 0, 0, 180, "12432.96", nullptr, "0.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "(" << c.lat1 << ", " << c.lon1 << ") to (" << c.lat2 << ", " << c.lon2 << ")");
    const DistanceBearingResult r = DistanceBearing(c.lat1, c.lon1, c.lat2, c.lon2);
    EXPECT_EQ(twoDecimals(r.miles), c.miles);
    if (c.km != nullptr) {
      EXPECT_EQ(twoDecimals(r.km), c.km);
    }
    EXPECT_EQ(twoDecimals(r.bearing), c.bearing);
    EXPECT_EQ(r.km, r.miles * kKmPerMile);
  }
}

// Fault: the quadrant used to be chosen by repeating the computation for a target moved 0.1°
// north, which picks the wrong half for targets close to the station (82.13° here).
TEST(DistanceBearing, QuadrantProbeFaultNearbyTargetGetsItsTrueBearing) {
  const DistanceBearingResult r = DistanceBearing(45, -84, 44.95, -83.5);
  EXPECT_EQ(twoDecimals(r.bearing), "97.87");
  expectMatchesReference(45, -84, 44.95, -83.5);
}

TEST(DistanceBearing, IdenticalPositionsGiveZerosBeforeAnyNormalisation) {
  for (const Position p : {Position{0, 0}, Position{12.5, -33.25}, Position{-90, 180}}) {
    const DistanceBearingResult r = DistanceBearing(p.lat, p.lon, p.lat, p.lon);
    EXPECT_EQ(r.miles, 0.0);
    EXPECT_EQ(r.km, 0.0);
    EXPECT_EQ(r.bearing, 0.0);
  }
  // −180 and 180 are not equal as numbers but are the same meridian: arc 0 through v ≥ 1.
  const DistanceBearingResult r = DistanceBearing(20, 180, 20, -180);
  EXPECT_EQ(r.miles, 0.0);
  EXPECT_EQ(r.bearing, 0.0);
}

TEST(DistanceBearing, ArcRulesAtTheEndsOfTheCosine) {
  // Inputs to the arc arithmetic as sin φ1, cos φ1, sin φ2, cos φ2, cos Δλ.
  const detail::Arc atOne = detail::arcFrom(0, 1, 0, 1, 1);  // v = 1
  EXPECT_EQ(atOne.raw, 0.0);
  EXPECT_EQ(atOne.degrees, 0.0);
  const detail::Arc aboveOne = detail::arcFrom(1, 0, 1.0000000000000002, 0, 0);  // v > 1
  EXPECT_GT(aboveOne.v, 1.0);
  EXPECT_EQ(aboveOne.degrees, 0.0);

  const detail::Arc zero = detail::arcFrom(0, 1, 1, 0, 1);  // v = 0: a quarter circle
  EXPECT_EQ(zero.v, 0.0);
  EXPECT_EQ(zero.raw, kPi / 2);
  EXPECT_DOUBLE_EQ(zero.degrees, 90.0);

  const detail::Arc minusOne = detail::arcFrom(0, 1, 0, 1, -1);  // v = −1: the antipode
  EXPECT_EQ(minusOne.raw, 0.0);
  EXPECT_EQ(minusOne.degrees, 180.0);
  const detail::Arc belowMinusOne = detail::arcFrom(-1, 0, 1.0000000000000002, 0, 0);
  EXPECT_LT(belowMinusOne.v, -1.0);
  EXPECT_EQ(belowMinusOne.degrees, 180.0);

  // Beyond a quarter circle the raw arc is negative and 180° is added.
  const detail::Arc wide = detail::arcFrom(0, 1, 0, 1, std::cos(120 * kDegToRad));
  EXPECT_LT(wide.raw, 0.0);
  EXPECT_NEAR(wide.degrees, 120.0, 1e-12);
}

TEST(DistanceBearing, MeridianAndEquatorDirections) {
  EXPECT_EQ(DistanceBearing(10, 20, 30, 20).bearing, 0.0);
  EXPECT_EQ(DistanceBearing(10, 20, -30, 20).bearing, 180.0);
  EXPECT_EQ(DistanceBearing(-10, -20, 0, -20).bearing, 0.0);
  const DistanceBearingResult east = DistanceBearing(0, 10, 0, 100);
  EXPECT_EQ(east.bearing, 90.0);
  EXPECT_EQ(twoDecimals(east.miles), "6216.48");
  EXPECT_EQ(DistanceBearing(0, 10, 0, -80).bearing, 270.0);
}

TEST(DistanceBearing, LongitudesFoldAcrossTheDateLine) {
  const DistanceBearingResult east = DistanceBearing(0, 179, 0, -179);
  EXPECT_EQ(east.bearing, 90.0);
  EXPECT_NEAR(east.miles, 2 * kMilesPerDegree, 1e-9);
  const DistanceBearingResult west = DistanceBearing(0, -179, 0, 179);
  EXPECT_EQ(west.bearing, 270.0);
  EXPECT_NEAR(west.miles, 2 * kMilesPerDegree, 1e-9);
  // Off the equator the target across the line is still east of north.
  const DistanceBearingResult north = DistanceBearing(50, 175, 52, -170);
  EXPECT_GT(north.bearing, 0.0);
  EXPECT_LT(north.bearing, 90.0);
  expectMatchesReference(50, 175, 52, -170);
  expectMatchesReference(-35, -178.5, -36, 179.25);
}

TEST(DistanceBearing, PolesAsTargetAndAsStation) {
  const DistanceBearingResult toNorthPole = DistanceBearing(10, 20, 90, 0);
  EXPECT_LT(bearingDifference(toNorthPole.bearing, 0.0), 1e-9);
  EXPECT_NEAR(toNorthPole.miles, 80 * kMilesPerDegree, 1e-9);
  const DistanceBearingResult toSouthPole = DistanceBearing(10, 20, -90, 0);
  EXPECT_LT(bearingDifference(toSouthPole.bearing, 180.0), 1e-9);
  EXPECT_NEAR(toSouthPole.miles, 100 * kMilesPerDegree, 1e-9);

  // From a pole every direction is south (or north); the bearing is the limit along the
  // station's own meridian: 180 − Δλ from the north pole, Δλ from the south pole.
  EXPECT_NEAR(DistanceBearing(90, 0, 0, 45).bearing, 135.0, 1e-9);
  EXPECT_NEAR(DistanceBearing(90, 0, 10, -60).bearing, 240.0, 1e-9);
  EXPECT_NEAR(DistanceBearing(-90, 0, 0, 45).bearing, 45.0, 1e-9);
  EXPECT_EQ(DistanceBearing(90, 0, 0, 0).bearing, 180.0);
  EXPECT_EQ(DistanceBearing(90, 30, -90, 30).bearing, 180.0);
  EXPECT_EQ(twoDecimals(DistanceBearing(90, 30, -90, 30).miles), "12432.96");
}

TEST(DistanceBearing, AntipodeLiesBetweenRimAndTickCircles) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 200; ++i) {
    const Position p = randomPosition(rng);
    const Position anti = antipodeOf(p);
    const DistanceBearingResult r = DistanceBearing(p.lat, p.lon, anti.lat, anti.lon);
    EXPECT_NEAR(r.miles, kAntipodeMiles, kMilesTolerance);
    EXPECT_GT(r.miles, kRimRadiusMiles);
    EXPECT_LT(r.miles, kTickRadiusMiles);
    EXPECT_TRUE(std::isfinite(r.bearing));
    EXPECT_GE(r.bearing, 0.0);
    EXPECT_LE(r.bearing, 360.0);
  }
}

TEST(DistanceBearing, AgreesWithIndependentFormulaOnRandomPairs) {
  std::mt19937_64 rng(20240611);
  for (int i = 0; i < 20000; ++i) {
    const Position a = randomPosition(rng), b = randomPosition(rng);
    expectMatchesReference(a.lat, a.lon, b.lat, b.lon);
  }
}

TEST(DistanceBearing, AgreesWithIndependentFormulaNearTheStationAndItsAntipode) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> bearing(0.0, 360.0);
  for (const bool nearAntipode : {false, true}) {
    for (const double miles : {0.5, 1.0, 2.0, 5.0, 10.0, 50.0, 300.0}) {
      for (int i = 0; i < 1000; ++i) {
        Position station = randomPosition(rng);
        station.lat = std::clamp(station.lat, -89.0, 89.0);
        const Position centre = nearAntipode ? antipodeOf(station) : station;
        const Position target = offsetPosition(centre, miles, bearing(rng));
        expectMatchesReference(station.lat, station.lon, target.lat, target.lon);
      }
    }
  }
}

TEST(DistanceBearing, NotANumberGivesNotANumberWithoutThrowing) {
  const double nan = std::nan("");
  const DistanceBearingResult r = DistanceBearing(nan, 0, 10, 10);
  EXPECT_TRUE(std::isnan(r.miles));
  EXPECT_TRUE(std::isnan(r.bearing));
}

}  // namespace
}  // namespace orbelle::geo
