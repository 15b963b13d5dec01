#include "geometry/rounding.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace orbelle::geo {
namespace {

TEST(Rounding, TiesGoToEven) {
  EXPECT_EQ(roundHalfEven(0.5), 0.0);
  EXPECT_EQ(roundHalfEven(1.5), 2.0);
  EXPECT_EQ(roundHalfEven(2.5), 2.0);
  EXPECT_EQ(roundHalfEven(-0.5), 0.0);
  EXPECT_EQ(roundHalfEven(-1.5), -2.0);
  EXPECT_EQ(roundHalfEven(-2.5), -2.0);
  EXPECT_EQ(roundHalfEven(2.5000000000000004), 3.0);
  EXPECT_EQ(roundHalfEven(-0.49999999999999994), 0.0);
  EXPECT_EQ(roundHalfEven(4503599627370497.0), 4503599627370497.0);
  EXPECT_TRUE(std::isinf(roundHalfEven(std::numeric_limits<double>::infinity())));

  EXPECT_EQ(toInt16HalfEven(12432.5), 12432);
  EXPECT_EQ(toInt16HalfEven(-12431.5), -12432);
  EXPECT_EQ(toInt16HalfEven(40000.0), 32767);
  EXPECT_EQ(toInt16HalfEven(-40000.0), -32768);
  EXPECT_EQ(toInt16HalfEven(std::nan("")), 0);
}

TEST(Rounding, FastDeviceRoundingAgreesWithTheGeneralOne) {
  for (const double tie : {0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 268435455.5, -268435456.5}) {
    EXPECT_EQ(static_cast<double>(roundHalfEvenSmall(tie)), roundHalfEven(tie)) << tie;
  }
  EXPECT_EQ(roundHalfEvenSmall(2.5), 2);
  EXPECT_EQ(roundHalfEvenSmall(3.5), 4);
  EXPECT_EQ(roundHalfEvenSmall(-3.5), -4);
  EXPECT_EQ(roundHalfEvenSmall(-0.49999999999999994), 0);
  EXPECT_EQ(roundHalfEvenSmall(0.5000000000000001), 1);
  std::mt19937_64 rng(8);
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  for (int i = 0; i < 100000; ++i) {
    const double v = value(rng);
    ASSERT_EQ(static_cast<double>(roundHalfEvenSmall(v)), roundHalfEven(v)) << v;
  }
}

}  // namespace
}  // namespace orbelle::geo
