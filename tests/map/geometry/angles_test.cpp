#include "geometry/angles.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace orbelle::geo {
namespace {

// Over a grid through every quadrant and axis, against the C library (its π differs from the
// 14-decimal kPi by 3e-15); the axes give kPi's fractions exactly.
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
  EXPECT_NEAR(Atan2(3, -4) / (kPi / 180), 143.1301, 1e-4);  // east 3, north −4: a compass bearing
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

}  // namespace
}  // namespace orbelle::geo
