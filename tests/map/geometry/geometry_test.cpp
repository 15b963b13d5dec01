// Geometry: angles, rounding and locators, distance, bearing and the projection against an
// independent spherical reference, and the ring index against a scan of every ring.

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <random>
#include <vector>

#include "geometry/angles.hpp"
#include "geometry/constants.hpp"
#include "geometry/great_circle.hpp"
#include "geometry/maidenhead.hpp"
#include "geometry/plane_inverse.hpp"
#include "geometry/projection.hpp"
#include "geometry/ring_index.hpp"
#include "geometry/rounding.hpp"
#include "reference_sphere.hpp"

namespace orbelle::geo {
namespace {

using testing::Position;
using testing::randomPosition;

// Against the C library over every quadrant and axis; the axes give the 14-decimal kPi exactly.
TEST(Angles, AgreeWithTheLibraryOverAGrid) {
  for (double p = -2; p <= 2; p += 0.25) {
    for (double q = -2; q <= 2; q += 0.25) {
      EXPECT_NEAR(Atan2(p, q), std::atan2(p, q), 1e-14) << p << ", " << q;
    }
    EXPECT_NEAR(ArcCos(p), std::acos(std::clamp(p, -1.0, 1.0)), 1e-14) << p;
  }
  EXPECT_EQ(Atan2(0, -1), kPi);
  EXPECT_EQ(Atan2(1, 0), kPi / 2);
  EXPECT_EQ(Atan2(-1, 0), -kPi / 2);
  EXPECT_EQ(ArcCos(-1), kPi);
  for (const double nan : {Atan2(NAN, 1), Atan2(NAN, 0), Atan2(NAN, -1), Atan2(1, NAN)}) {
    EXPECT_TRUE(std::isnan(nan));
  }
}

TEST(Angles, Normalize360FoldsIntoTheHalfOpenTurn) {
  struct Case {
    double angle, folded;
  };
  // 1e-300 + 360 rounds to 360.
  const Case cases[] = {
      {0, 360},  {360, 360},   {720, 360},        {-0.5, 359.5}, {-90, 270},
      {450, 90}, {0.25, 0.25}, {-720.25, 359.75}, {1e-300, 360}, {360.0 * 1e12 + 45, 45}};
  for (const Case& c : cases) EXPECT_EQ(Normalize360(c.angle), c.folded) << c.angle;
  // Stepping by 360 could never change these; the fold must still end in range.
  for (const double huge : {1e300, -1e18})
    EXPECT_TRUE(Normalize360(huge) > 0 && Normalize360(huge) <= 360);
  for (const double bad : {NAN, INFINITY, -INFINITY}) EXPECT_TRUE(std::isnan(Normalize360(bad)));
}

// Against the library's nearest-even (ties, neighbours, an ulp of 1, random); int16 saturates.
TEST(Rounding, BothRoundingsAgreeWithTheLibrarysNearestEven) {
  ASSERT_EQ(std::fegetround(), FE_TONEAREST);
  auto check = [](double v) {
    ASSERT_EQ(roundHalfEven(v), std::nearbyint(v)) << v;
    ASSERT_EQ(static_cast<double>(roundHalfEvenSmall(v)), std::nearbyint(v)) << v;
  };
  for (const double v : {0.5, 1.5, -0.5, -2.5, 268435455.5, -268435456.5, 2.5000000000000004,
                         -0.49999999999999994, 4503599627370497.0}) {
    check(v);
  }
  std::mt19937_64 rng(8);
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  for (int i = 0; i < 100000; ++i) check(i % 2 ? value(rng) : std::trunc(value(rng)) + 0.5);
  EXPECT_TRUE(std::isinf(roundHalfEven(INFINITY)));
  EXPECT_TRUE(std::isnan(roundHalfEven(NAN)));
  const std::pair<double, std::int16_t> cases[] = {
      {12432.5, 12432}, {-12431.5, -12432}, {40000, 32767}, {-40000, -32768}, {NAN, 0}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(toInt16HalfEven(value), rounded) << value;
}

TEST(Maidenhead, SixCharacterLocators) {
  struct Case {
    double lat, lon;
    const char* locator;
  };
  const Case cases[] = {
      {33.9, -84.179, "EM73vv"},              // the map's default station
      {0.0, 0.0, "JJ00aa"},                   // a boundary belongs to the square north and east
      {90.0, 180.0, "AR09ax"},                // the top row; 180°E is 180°W
      {40.0 - 1e-9, -80.0 - 1e-9, "EM99xx"},  // just south-west of a field corner
      {NAN, 0.0, ""},
      {90.5, 0.0, ""},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(maidenheadLocator(k.lat, k.lon), k.locator) << k.lat << " " << k.lon;
  }
  EXPECT_EQ(maidenheadLocator(10.0, 540.0 + 0.5), maidenheadLocator(10.0, 180.5));
}

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
      {12.5, -33.25, 12.5, -33.25, 0, 0, kExact},
      {20, 180, 20, -180, 0, 0, kExact},
      {90, 0, 0, 45, 6216.48, 135, kClose},
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
  for (int i = 0; i < 20000; ++i) check(randomPosition(rng), randomPosition(rng));
  for (const bool nearAntipode : {false, true}) {
    for (const double miles : {0.0, 0.5, 1.0, 2.0, 5.0, 10.0, 50.0, 300.0}) {
      for (int i = 0; i < 1000; ++i) {
        Position station = randomPosition(rng);
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
    const Position station = s < 3 ? poles[s] : randomPosition(rng);
    const StationProjector fast(station.lat, station.lon);
    const PlaneInverse inverse(station.lat, station.lon);
    for (int i = 0; i < 1000; ++i) {
      const Position p = randomPosition(rng);
      const MapPoint m = compare(fast, p.lat, p.lon);
      if (std::hypot(m.x, m.y) > 12400.0) continue;
      const GeoPosition g = inverse.position(m).value();
      const MapPoint back = ProjectPoint(station.lat, station.lon, g.lat, g.lon);
      worstBack = std::max({worstBack, std::fabs(back.x - m.x), std::fabs(back.y - m.y)});
      // 3e-8 radians, 1e-4 mile: the forward arc from its cosine loses √ε near its ends.
      const EarthDirection d = *inverse.direction(m), e = directionOf(p.lat, p.lon);
      EXPECT_LT(std::hypot(d.x - e.x, d.y - e.y, d.z - e.z), 3e-8);
    }
  }
  const Position stations[] = {{0, 180}, {45, -84}, {-90, 0}, {60, -180}, {1, 179}};
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
  const GeoPosition centre = inverse.position({0, 0}).value(),
                    antipode = inverse.position({0, -kAntipodeMiles}).value();
  EXPECT_TRUE(std::hypot(centre.lat - 33.9, centre.lon + 84.179) < 1e-9);
  EXPECT_TRUE(std::hypot(antipode.lat + 33.9, antipode.lon - 95.821) < 1e-9);
  EXPECT_FALSE(inverse.position({kAntipodeMiles, 1.0}).has_value());
  EXPECT_FALSE(inverse.direction({NAN, 0.0}).has_value());
  const GeoPosition beyond = inverse.positionOnCircle({0.0, -(kAntipodeMiles + 500.0)});
  const MapPoint seen = ProjectPoint(33.9, -84.179, beyond.lat, beyond.lon);
  EXPECT_NEAR(std::hypot(seen.x, seen.y - (kAntipodeMiles - 500.0)), 0.0, 1e-6);
}

using Ring = std::vector<MinutePoint>;

// A closed ring round a box of whole minutes, longitudes past ±10800 folded back.
Ring boxRing(int south, int west, int north, int east, int step = 7) {
  Ring ring;
  auto fold = [](int lon) { return static_cast<std::int16_t>(lon > 10800 ? lon - 21600 : lon); };
  auto add = [&](int lat, int lon) { ring.push_back({static_cast<std::int16_t>(lat), fold(lon)}); };
  for (int lon = west; lon < east; lon += step) add(south, lon);
  for (int lat = south; lat < north; lat += step) add(lat, east);
  for (int lon = east; lon > west; lon -= step) add(north, lon);
  for (int lat = north; lat > south; lat -= step) add(lat, west);
  add(south, west);
  return ring;
}

// A ring round the south pole, as the shore of a continent at the pole is written.
Ring polarCap(int lat, int wobble) {
  Ring ring;
  for (int lon = -10800; lon <= 10800; lon += 37) {
    ring.push_back(
        {static_cast<std::int16_t>(lat + (lon / 37) % wobble), static_cast<std::int16_t>(lon)});
  }
  return ring;
}

TEST(RingIndex, AgreesWithAScanOfEveryRing) {
  struct Case {
    Ring ring;
    RingMask mask;
  };
  const std::vector<Case> rings{
      {polarCap(-4200, 37), 3},                  // round the south pole
      {boxRing(-4900, -3000, -4500, -1000), 1},  // a lake inside it
      {boxRing(1200, 10500, 1500, 11200), 1},    // across 180°
      {boxRing(1000, -2000, 2500, 1000, 5), 1},  // a continent
      {boxRing(1500, -1500, 2000, 0), 1},        // a lake in it
      {boxRing(1700, -1200, 1800, -600, 3), 1},  // an island in the lake
      {boxRing(3000, 44, 3031, 61, 1), 1},       // a tiny island on cell lines
  };
  RingIndex index;
  for (const Case& c : rings) index.addRing(c.ring, c.mask);
  index.build();

  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> lat(-89.0, 89.0), lon(-180.0, 180.0), near(-0.6, 0.6);
  int mismatches = 0, insideSome = 0;
  for (int i = 0; i < 30000; ++i) {
    double la = lat(random), lo = lon(random);
    if (i % 2 == 0) {  // many near vertices and edges: a vertex of a random ring, moved a little
      const Ring& ring = rings[static_cast<std::size_t>(i / 2) % rings.size()].ring;
      const MinutePoint v = ring[static_cast<std::size_t>(random() % ring.size())];
      la = v.lat / 60.0 + near(random) / 10.0;
      lo = v.lon / 60.0 + near(random) / 10.0;
    }
    RingMask expected = 0;
    for (const Case& c : rings) {
      if (ringEncloses(c.ring, la, lo)) expected ^= c.mask;
    }
    mismatches += index.at(la, lo) != expected;
    insideSome += expected != 0;
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(insideSome, 3000);
  // Known without either routine: inside the ice cap's coast, its lake is water.
  EXPECT_EQ(index.at(-78.0, -33.0), 2);
  EXPECT_EQ(index.at(22.0, -179.9), 1);  // across 180°
}

}  // namespace
}  // namespace orbelle::geo
