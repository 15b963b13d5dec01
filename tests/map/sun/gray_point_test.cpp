#include "sun/gray_point.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace orbelle {
namespace {

constexpr double kRad = 3.14159265358979323846 / 180;
// Miles per radian of the gray-line distance: 111.11 km per degree over 1.60933 km per mile.
constexpr double kGrayMilesPerRadian = 111.11 * 57.2957795130824 / 1.60933;

GrayLine state(float homeLat, float homeLon, float decl, float sunLon) {
  GrayLine g;
  g.GrayHomeLat = homeLat;
  g.GrayHomeLon = homeLon;
  g.SunDecl = decl;
  g.SunLon = sunLon;
  g.GrayMaxLat = 90 - std::fabs(decl);
  g.GrayMinLat = -g.GrayMaxLat;
  return g;
}

TEST(GrayLineRange, QuarterCircleIsTheShortQuarterTurn) {
  const GrayLine g = state(0, 0, 0, 0);
  float d = -1, b = -1;
  GrayLineRange(g, 90, 0, d, b);
  EXPECT_NEAR(d, 1.57079 * 111.11 * 57.2957795130824 / 1.60933, 0.01);
  EXPECT_NEAR(d, 6213.68, 0.01);
  EXPECT_NEAR(b, 90, 1e-3);
  GrayLineRange(g, -90, 0, d, b);
  EXPECT_NEAR(b, 270, 1e-3);
  GrayLineRange(g, 0, 90, d, b);
  EXPECT_NEAR(d, 6213.68, 0.01);
  EXPECT_NEAR(b, 0, 1e-3);
  GrayLineRange(g, 0, -30, d, b);
  EXPECT_NEAR(b, 180, 1e-3);
}

TEST(GrayLineRange, NumericErrorsGiveZeroAndZero) {
  struct Case {
    const char* what;
    GrayLine g;
    float lon, lat;
  };
  const Case cases[] = {
      {"the station itself: 1 - cos^2 c = 0", state(40, -75, 10, 0), -75, 40},
      {"its antipode", state(40, -75, 10, 0), 105, -40},
      {"longitude not a number", state(40, -75, 10, 0), NAN, 10},
      {"infinite latitude", state(40, -75, 10, 0), 10, INFINITY},
      {"station not a number", state(NAN, 0, 0, 0), 10, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    float d = 5, b = 5;
    GrayLineRange(c.g, c.lon, c.lat, d, b);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(b, 0);
  }
}

TEST(GrayLineRange, AgreesWithAnIndependentSphericalFormula) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> lat(-89, 89), lon(-180, 180);
  for (int i = 0; i < 2000; ++i) {
    const double lat1 = lat(rng), lon1 = lon(rng), lat2 = lat(rng), lon2 = lon(rng);
    const GrayLine g = state(static_cast<float>(lat1), static_cast<float>(lon1), 0, 0);
    float d, b;
    GrayLineRange(g, static_cast<float>(lon2), static_cast<float>(lat2), d, b);
    const double p1 = static_cast<float>(lat1) * kRad, p2 = static_cast<float>(lat2) * kRad;
    const double dl = (static_cast<float>(lon2) - static_cast<float>(lon1)) * kRad;
    const double arc =
        std::acos(std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl));
    double bearing =
        std::atan2(std::sin(dl) * std::cos(p2),
                   std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
        kRad;
    if (bearing < 0) bearing += 360;
    // 1.57079 stands for π/2 (6.3e-6 rad short) and the arc goes through float: a few miles at
    // most.
    EXPECT_NEAR(d, (arc + 1.57079 - 3.14159265358979 / 2) * kGrayMilesPerRadian, 2.0)
        << lat1 << "," << lon1 << " -> " << lat2 << "," << lon2;
    // The bearing comes from its cosine, so compare cosines (an angle near 0 or 180 degrees is
    // ill-conditioned in its cosine); the side, east or west, follows the longitude difference.
    if (arc > 0.05 && arc < 3.1) {
      EXPECT_NEAR(std::cos(b * kRad), std::cos(bearing * kRad), 2e-4)
          << lat1 << "," << lon1 << " -> " << lat2 << "," << lon2;
      if (std::fabs(std::sin(bearing * kRad)) > 0.05) {
        EXPECT_EQ(std::sin(b * kRad) > 0, std::sin(bearing * kRad) > 0);
      }
    }
  }
}

TEST(GrayPoint, EquinoxTerminatorIsTwoMeridians) {
  const GrayLine g = state(33.9f, -84.179f, 0, 30);
  GrayPoint p(g);
  for (float angle : {0.1f, 10.0f, 45.0f, 89.9f, 90.0f, 135.0f, 200.0f, 269.0f, 300.0f, 359.9f}) {
    p.Calculate(angle);
    const bool sunset = angle <= 90 || angle > 270;
    EXPECT_NEAR(p.Longitude(), sunset ? 120 : -60, 1e-4) << angle;
  }
  p.Calculate(90);
  EXPECT_FLOAT_EQ(p.Latitude(), 90);
  p.Calculate(270);
  EXPECT_FLOAT_EQ(p.Latitude(), -90);
}

TEST(GrayPoint, AngleZeroAndHalfTurnOnAnyDay) {
  for (float decl : {-23.0f, -5.5f, 0.0f, 12.0f, 23.0f}) {
    const GrayLine g = state(51.5f, 0, decl, -100);
    GrayPoint p(g);
    p.Calculate(0);
    EXPECT_EQ(p.Latitude(), 0);
    EXPECT_NEAR(p.Longitude(), -10, 1e-4);
    p.Calculate(180);
    EXPECT_EQ(p.Latitude(), 0);
    EXPECT_NEAR(p.Longitude(), -190, 1e-4);  // not reduced into ±180
    p.Calculate(90);
    EXPECT_FLOAT_EQ(p.Latitude(), 90 - std::fabs(decl));
    p.Calculate(225);
    EXPECT_FLOAT_EQ(p.Latitude(), -(90 - std::fabs(decl)) / 2);
  }
}

TEST(GrayPoint, EveryPointLiesOnTheTerminatorAndOnTheMap) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> decl(-23, 23), lon(-180, 180), lat(-80, 80), angle(0, 360);
  for (int i = 0; i < 200; ++i) {
    const GrayLine g = state(lat(rng), lon(rng), decl(rng), lon(rng));
    GrayPoint p(g);
    for (int j = 0; j < 20; ++j) {
      p.Calculate(angle(rng));
      // Sub-solar point to terminator point: 90 degrees of arc.
      const double cosArc = std::sin(g.SunDecl * kRad) * std::sin(p.Latitude() * kRad) +
                            std::cos(g.SunDecl * kRad) * std::cos(p.Latitude() * kRad) *
                                std::cos((p.Longitude() - g.SunLon) * kRad);
      EXPECT_NEAR(cosArc, 0, 2e-5);
      // x, y are the gray-line distance and bearing placed in the whole-earth square.
      float d, b;
      GrayLineRange(g, p.Longitude(), p.Latitude(), d, b);
      EXPECT_NEAR(p.x(), kWholeEarthHalfWidth + d * std::sin(b * kRad), 0.01);
      EXPECT_NEAR(p.y(), kWholeEarthHalfWidth - d * std::cos(b * kRad), 0.01);
    }
  }
}

TEST(GrayPoint, BlockGivesTheSamePointsAsOneCalculateEach) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> decl(-23, 23), lon(-180, 180), lat(-89, 89),
      angle(-10, 370);
  for (int i = 0; i < 50; ++i) {
    GrayLine g = state(lat(rng), lon(rng), decl(rng), lon(rng));
    if (i == 0) g = state(0, 0, 0, 90);  // includes the station itself and its antipode
    float angles[GrayPoint::kBlock];
    for (float& a : angles) a = angle(rng);
    angles[0] = 180;
    angles[1] = 0;
    GrayPoint block(g);
    GrayPoint::Block out;
    block.Calculate(angles, GrayPoint::kBlock, out);
    GrayPoint single(g);
    for (int j = 0; j < GrayPoint::kBlock; ++j) {
      single.Calculate(angles[j]);
      ASSERT_EQ(out.Longitude[j], single.Longitude()) << j;
      ASSERT_EQ(out.Latitude[j], single.Latitude()) << j;
      ASSERT_EQ(out.x[j], single.x()) << j;
      ASSERT_EQ(out.y[j], single.y()) << j;
    }
    EXPECT_EQ(block.x(), single.x());
    EXPECT_EQ(block.Longitude(), single.Longitude());
  }
}

}  // namespace
}  // namespace orbelle
