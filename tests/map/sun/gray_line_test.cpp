// The sun's position, the gray-line state and range, and the terminator points.

#include "sun/gray_line.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "sun/gray_point.hpp"
#include "sun/local_clock.hpp"
#include "sun/sun_position.hpp"

namespace orbelle {
namespace {

constexpr double kRad = 3.14159265358979323846 / 180;

GrayLine state(float homeLat, float homeLon, float decl, float sunLon) {
  const float maxLat = 90 - std::fabs(decl);
  return {homeLat, homeLon, decl, sunLon, maxLat, -maxLat};
}

// The model's turning points and New Year, and setGrayLine's single-precision state of them.
TEST(SunPosition, WorkedInstantsAndTheGrayLineStateOfThem) {
  struct Case {
    DateTime t;
    int localYear;
    double day, longitude, declination;  // NaN: see the period rule below
  };
  const Case cases[] = {
      {makeDateTime(2024, 3, 21, 0, 0, 0), 2024, 80, 180, 0},
      {makeDateTime(2024, 6, 20, 6, 0, 0), 2024, 171.25, 90, 23},
      {makeDateTime(2024, 9, 19, 12, 0, 0), 2024, 262.5, 0, 0},
      {makeDateTime(2024, 12, 19, 18, 0, 0), 2024, 353.75, -90, -23},
      {makeDateTime(2025, 1, 1, 3, 0, 0), 2024, 366.125, 135, NAN},
      {makeDateTime(2024, 12, 31, 21, 0, 0), 2025, -0.125, -135, NAN},
      {makeDateTime(2024, 6, 1, 23, 59, 59), 2024, 152 + 86399.0 / 86400, -179.99583333333334, NAN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.day);
    EXPECT_NEAR(DayOfYear(c.t, c.localYear), c.day, 1e-9);
    EXPECT_NEAR(SunLongitude(c.t), c.longitude, 1e-9);
    const double declination = SunDeclination(c.t, c.localYear);
    if (!std::isnan(c.declination)) EXPECT_NEAR(declination, c.declination, 1e-12);
    GrayLine g;
    setGrayLine(g, 33.9, -84.179, c.t, c.localYear);
    EXPECT_EQ(g.SunDecl, static_cast<float>(declination));
    EXPECT_EQ(g.SunLon, static_cast<float>(c.longitude));
    EXPECT_FLOAT_EQ(g.GrayMaxLat, 90 - std::fabs(g.SunDecl));
    EXPECT_EQ(g.GrayMinLat, -g.GrayMaxLat);
  }
  // The 365-day period absorbs a local year one off.
  EXPECT_NEAR(SunDeclination(makeDateTime(2025, 1, 1, 3, 0, 0), 2024),
              SunDeclination(makeDateTime(2024, 1, 2, 3, 0, 0), 2024), 1e-9);
}

// In India's zone (5.5 h east, no DST); the two clocks may be read a second apart.
TEST(LocalClock, SystemClocksDifferByTheZoneOffset) {
  const char* saved = std::getenv("TZ");
  const std::string zone = saved != nullptr ? saved : "";
  ASSERT_EQ(setenv("TZ", "IST-5:30", 1), 0);
  tzset();
  const double hoursToUtc = systemHoursToUtc();
  const double hoursAhead = (systemLocalNow().serial - systemUtcNow().serial) * 24;
  saved != nullptr ? setenv("TZ", zone.c_str(), 1) : unsetenv("TZ");
  tzset();
  EXPECT_EQ(hoursToUtc, -5.5);
  EXPECT_NEAR(hoursAhead, 5.5, 1.0 / 3600 + 1e-9);
}

// Due north and south (cosine ±1), and the places without a value: both results 0.
TEST(GrayLineRange, WorkedValuesAndNumericErrors) {
  struct Case {
    GrayLine g;
    float lon, lat, distance, bearing;
  };
  const GrayLine equator = state(0, 0, 0, 0), philadelphia = state(40, -75, 10, 0);
  const Case cases[] = {
      {equator, 0, 90, 6213.68, 0},        {equator, 0, -30, 2071.21, 180},
      {philadelphia, -75, 40, 0, 0},   // the station itself: 1 − cos² c = 0
      {philadelphia, 105, -40, 0, 0},  // its antipode
      {philadelphia, NAN, 10, 0, 0},       {philadelphia, 10, INFINITY, 0, 0},
      {state(NAN, 0, 0, 0), 10, 10, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.lat << ", " << c.lon);
    float d = 5, b = 5;
    GrayLineRange(c.g, c.lon, c.lat, d, b);
    EXPECT_NEAR(d, c.distance, 0.01);
    EXPECT_NEAR(b, c.bearing, 1e-3);
  }
}

// Against the spherical law of cosines and the atan2 bearing in double precision.
TEST(GrayLineRange, AgreesWithAnIndependentSphericalFormula) {
  constexpr double kGrayMilesPerRadian = 111.11 * 57.2957795130824 / 1.60933;
  std::mt19937 rng(2024);
  std::uniform_real_distribution<float> lat(-89, 89), lon(-180, 180);
  for (int i = 0; i < 2000; ++i) {
    const float lat1 = lat(rng), lon1 = lon(rng), lat2 = lat(rng), lon2 = lon(rng);
    SCOPED_TRACE(::testing::Message() << lat1 << "," << lon1 << " -> " << lat2 << "," << lon2);
    float d, b;
    GrayLineRange(state(lat1, lon1, 0, 0), lon2, lat2, d, b);
    const double p1 = lat1 * kRad, p2 = lat2 * kRad, dl = (double{lon2} - lon1) * kRad;
    const double arc =
        std::acos(std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl));
    const double bearing =
        std::atan2(std::sin(dl) * std::cos(p2),
                   std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
    // 1.57079 stands for π/2 (6.3e-6 short) and the arc goes through float: a few miles at most.
    EXPECT_NEAR(d, (arc + 1.57079 - 3.14159265358979 / 2) * kGrayMilesPerRadian, 2.0);
    // Single-precision bearing: the place it points to may lie up to 5 miles aside.
    const double side = std::remainder(b - bearing / kRad, 360.0) * kRad * std::sin(arc);
    EXPECT_LE(std::fabs(side) * kGrayMilesPerRadian, 6.0) << b << " against " << bearing / kRad;
  }
}

// Angle: up the sunset side to GrayMaxLat, down the sunrise side, and round the south.
TEST(GrayPoint, AngleRunsRoundTheTerminator) {
  struct Case {
    float decl, sunLon, angle, lat, lon;
  };
  const Case cases[] = {
      {0, 30, 45, 45, 120},         {0, 30, 135, 45, -60},    {0, 30, 200, -20, -60},
      {0, 30, 300, -60, 120},       {0, 30, 90, 90, 120},     {0, 30, 270, -90, -60},
      {23, -100, 0, 0, -10},        {23, -100, 180, 0, -190}, {23, -100, 90, 67, NAN},
      {-23, -100, 225, -33.5, NAN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.decl << " " << c.angle);
    GrayPoint p(state(51.5f, 0, c.decl, c.sunLon));
    p.Calculate(c.angle);
    EXPECT_FLOAT_EQ(p.Latitude(), c.lat);
    if (!std::isnan(c.lon)) EXPECT_NEAR(p.Longitude(), c.lon, 1e-4);
  }
}

// Every point of random blocks lies on the terminator; x and y place its range.
TEST(GrayPoint, EveryPointOfABlockLiesOnTheTerminator) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> decl(-23, 23), lon(-180, 180), lat(-89, 89),
      angle(-10, 370);
  for (int i = 0; i < 100; ++i) {
    const GrayLine g = i == 0 ? state(0, 0, 0, 90) : state(lat(rng), lon(rng), decl(rng), lon(rng));
    float angles[GrayPoint::kBlock];
    for (float& a : angles) a = angle(rng);
    angles[0] = 180;
    angles[1] = 0;
    GrayPoint::Block out;
    GrayPoint(g).Calculate(angles, GrayPoint::kBlock, out);
    for (int j = 0; j < GrayPoint::kBlock; ++j) {
      const double lat = out.Latitude[j] * kRad, lon = out.Longitude[j];
      const double cosArc =
          std::sin(g.SunDecl * kRad) * std::sin(lat) +
          std::cos(g.SunDecl * kRad) * std::cos(lat) * std::cos((lon - g.SunLon) * kRad);
      EXPECT_NEAR(cosArc, 0, 2e-5) << j;
      float d, b;
      GrayLineRange(g, out.Longitude[j], out.Latitude[j], d, b);
      EXPECT_NEAR(out.x[j], kWholeEarthHalfWidth + d * std::sin(b * kRad), 0.01) << j;
      EXPECT_NEAR(out.y[j], kWholeEarthHalfWidth - d * std::cos(b * kRad), 0.01) << j;
    }
  }
}

}  // namespace
}  // namespace orbelle
