#include "geometry/rounding.hpp"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <random>

namespace orbelle::geo {
namespace {

// Against the C library's rounding in the default to-nearest-even mode: ties, the neighbours of
// ties, a value whose ulp is 1, and random values with and without a half.
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

}  // namespace
}  // namespace orbelle::geo
