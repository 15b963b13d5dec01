// The scalar helpers: angles, rounding and Maidenhead locators.

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <random>

#include "geometry/angles.hpp"
#include "geometry/maidenhead.hpp"
#include "geometry/rounding.hpp"

namespace orbelle::geo {
namespace {

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
  for (const double huge : {1e300, -1e18}) {
    EXPECT_GT(Normalize360(huge), 0);
    EXPECT_LE(Normalize360(huge), 360);
  }
  for (const double bad : {NAN, INFINITY, -INFINITY}) EXPECT_TRUE(std::isnan(Normalize360(bad)));
}

// Against the library's nearest-even: ties, their neighbours, an ulp of 1, random values.
TEST(Rounding, BothRoundingsAgreeWithTheLibrarysNearestEven) {
  ASSERT_EQ(std::fegetround(), FE_TONEAREST);
  auto check = [](double v) {
    ASSERT_EQ(roundHalfEven(v), std::nearbyint(v)) << v;
    ASSERT_EQ(static_cast<double>(roundHalfEvenSmall(v)), std::nearbyint(v)) << v;
  };
  for (const double v :
       {0.5, 1.5, 2.5, 3.5, -0.5, -1.5, -2.5, -3.5, 268435455.5, -268435456.5, 2.5000000000000004,
        -0.49999999999999994, 0.5000000000000001, 4503599627370497.0}) {
    check(v);
  }
  std::mt19937_64 rng(8);
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  for (int i = 0; i < 100000; ++i) check(i % 2 ? value(rng) : std::trunc(value(rng)) + 0.5);
  EXPECT_TRUE(std::isinf(roundHalfEven(INFINITY)));
  EXPECT_TRUE(std::isnan(roundHalfEven(NAN)));
}

TEST(Rounding, SixteenBitValuesSaturateAndNotANumberIsZero) {
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
      {-90.0, -180.0, "AA00aa"},              // the grid's first corner
      {90.0, 180.0, "AR09ax"},                // the top row; 180°E is 180°W
      {89.999, 179.999, "RR99xx"},            // the grid's last subsquare
      {40.0 - 1e-9, -80.0 - 1e-9, "EM99xx"},  // just south-west of a field corner
  };
  for (const Case& k : cases) {
    EXPECT_EQ(maidenheadLocator(k.lat, k.lon), k.locator) << k.lat << " " << k.lon;
  }
  for (const auto& [lat, lon] : {std::pair{NAN, 0.0}, {0.0, INFINITY}, {90.5, 0.0}}) {
    EXPECT_EQ(maidenheadLocator(lat, lon), "") << lat << " " << lon;
  }
  EXPECT_EQ(maidenheadLocator(10.0, 540.0 + 0.5), maidenheadLocator(10.0, 180.5));
}

}  // namespace
}  // namespace orbelle::geo
