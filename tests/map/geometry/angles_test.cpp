#include "geometry/angles.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace orbelle::geo {
namespace {

TEST(Atan2, QuadrantsAndAxes) {
  EXPECT_DOUBLE_EQ(Atan2(0, -1), kPi);
  EXPECT_DOUBLE_EQ(Atan2(1, 0), kPi / 2);
  EXPECT_DOUBLE_EQ(Atan2(-1, 0), -kPi / 2);
  EXPECT_EQ(Atan2(0, 0), 0.0);
  EXPECT_DOUBLE_EQ(Atan2(-1, -1), -3 * kPi / 4);
  EXPECT_DOUBLE_EQ(Atan2(1, -1), 3 * kPi / 4);
  // Off the axes the result is the true arctangent, which differs from the 14-decimal π.
  EXPECT_NEAR(Atan2(1, 1), kPi / 4, 1e-14);
  EXPECT_NEAR(Atan2(-1, 1), -kPi / 4, 1e-14);
}

TEST(Atan2, IsACompassBearingOfEastAndNorthOffsets) {
  // East offset 3, north offset −4: south-east, bearing 180 − 36.87 degrees.
  const double degrees = Atan2(3, -4) / (kPi / 180);
  EXPECT_NEAR(degrees, 143.1301, 1e-4);
  EXPECT_TRUE(std::isnan(Atan2(std::nan(""), 1)));
  EXPECT_TRUE(std::isnan(Atan2(1, std::nan(""))));
}

TEST(Normalize360, FoldsIntoHalfOpenTurn) {
  EXPECT_EQ(Normalize360(0), 360);
  EXPECT_EQ(Normalize360(-0.5), 359.5);
  EXPECT_EQ(Normalize360(720), 360);
  EXPECT_EQ(Normalize360(360), 360);
  EXPECT_EQ(Normalize360(-90), 270);
  EXPECT_EQ(Normalize360(450), 90);
  EXPECT_EQ(Normalize360(-720.25), 359.75);
  EXPECT_EQ(Normalize360(1e-300), 360);  // 1e-300 + 360 rounds to 360
  EXPECT_EQ(Normalize360(0.25), 0.25);
}

TEST(Normalize360, NonFiniteAndHugeInputsReturn) {
  EXPECT_TRUE(std::isnan(Normalize360(std::nan(""))));
  EXPECT_TRUE(std::isnan(Normalize360(INFINITY)));
  EXPECT_TRUE(std::isnan(Normalize360(-INFINITY)));
  // Stepping by 360 could never change these; the fold must still end in range.
  const double big = Normalize360(1e300);
  EXPECT_GT(big, 0);
  EXPECT_LE(big, 360);
  const double bigNegative = Normalize360(-1e18);
  EXPECT_GT(bigNegative, 0);
  EXPECT_LE(bigNegative, 360);
  EXPECT_EQ(Normalize360(360.0 * 1e12 + 45), 45);
}

TEST(ArcCos, RangeEndsAndInterior) {
  EXPECT_EQ(ArcCos(1), 0);
  EXPECT_DOUBLE_EQ(ArcCos(-1), kPi);
  EXPECT_EQ(ArcCos(1.0000001), 0);
  EXPECT_DOUBLE_EQ(ArcCos(-5), kPi);
  EXPECT_DOUBLE_EQ(ArcCos(0), kPi / 2);
  EXPECT_NEAR(ArcCos(0.5), std::acos(0.5), 1e-14);
  EXPECT_NEAR(ArcCos(-0.3), std::acos(-0.3), 1e-14);
}

}  // namespace
}  // namespace orbelle::geo
