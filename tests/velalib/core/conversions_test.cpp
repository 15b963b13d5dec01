// Number reading and the conversions, tested on the pure functions.
#include "conversions.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "number_text.hpp"

namespace velalib {
namespace {

using namespace std::string_literals;

TEST(ParseWholeNumber, ReadsLikeAtoiAndSaturatesOutsideThirtyTwoBits) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  // clang-format off
  const std::pair<std::string, int32_t> cases[] = {
      {"42", 42}, {"  -17xyz", -17}, {"\t+8", 8}, {"12.9", 12}, {"", 0}, {"abc", 0}, {"- 5", 0},
      {"007", 7}, {"2147483647", kMax}, {"2147483648", kMax}, {"-2147483648", kMin},
      {"-2147483649", kMin}, {std::string(500, '9'), kMax}};
  // clang-format on
  for (const auto &[text, value] : cases) EXPECT_EQ(parseWholeNumber(text), value) << text;
}

// Like atof with "." as the decimal point always; out of range goes to infinity or zero.
TEST(ParseDecimalNumber, ReadsLikeAtof) {
  const double inf = std::numeric_limits<double>::infinity();
  // clang-format off
  const std::pair<std::string, double> cases[] = {
      {"3.25", 3.25}, {"  -0.5e2 rest", -50.0}, {"+.75", 0.75}, {"14.", 14.0}, {"1E3", 1000.0},
      {"1e", 1.0}, {"1e+", 1.0}, {"2e-1x", 0.2}, {"7,5", 7.0}, {".", 0.0}, {"-", 0.0},
      {"inf", 0.0}, {"nan", 0.0}, {"0x10", 0.0}, {"14.0745", 14.0745}, {"1e400", inf},
      {"-1e400", -inf}, {"1e-400", 0.0}, {"0.0000001e-400", 0.0}, {"0e999999999999999999999", 0.0},
      {"1" + std::string(400, '0'), inf}, {"0." + std::string(400, '0') + "1e401", 1.0}};
  // clang-format on
  for (const auto &[text, value] : cases) EXPECT_DOUBLE_EQ(parseDecimalNumber(text), value) << text;
}

TEST(PackedDecimal, ConvertsTwoDigitsBothWays) {
  EXPECT_EQ(packedToDecimal(0x25), 25);
  EXPECT_EQ(packedToDecimal(0x99), 99);
  EXPECT_EQ(packedToDecimal(0x00), 0);
  EXPECT_EQ(packedToDecimal(0x123), 183);  // wider values are not decoded digit by digit
  EXPECT_EQ(packedToDecimal(-0x25), -25);  // remainder takes the sign of n
  EXPECT_EQ(decimalToPacked(25), 0x25);
  EXPECT_EQ(decimalToPacked(99), 153);
  EXPECT_EQ(decimalToPacked(-25), -0x25);
  for (int32_t n = 0; n < 100; ++n) EXPECT_EQ(packedToDecimal(decimalToPacked(n)), n);
  EXPECT_EQ(packedToDecimal(std::numeric_limits<int32_t>::min()), -1342177280);
  // Beyond 32 bits the result wraps as 32-bit arithmetic does.
  EXPECT_EQ(decimalToPacked(2147483647), static_cast<int32_t>(3435973831u));
}

TEST(DateDigits, ReadsTheFirstEightDigits) {
  const auto date = readDateDigits("20240229");
  ASSERT_TRUE(date);
  EXPECT_EQ(date->year, 2024);
  EXPECT_EQ(date->month, 2);
  EXPECT_EQ(date->day, 29);
  EXPECT_TRUE(readDateDigits("20240229T1200"));
  EXPECT_FALSE(readDateDigits("2024022"));
  EXPECT_FALSE(readDateDigits("2024-02-29"));
  EXPECT_FALSE(readDateDigits(" 20240229"));
  EXPECT_FALSE(readDateDigits(""));
  EXPECT_EQ(mdyText(*readDateDigits("19991231")), "12/31/1999");
  EXPECT_EQ(mdyText(*readDateDigits("00010101")), "01/01/0001");
}

TEST(JulianDayNumber, MatchesKnownDays) {
  struct Case {
    const char *digits;
    int64_t day;
  } cases[] = {{"20000101", 2451545}, {"20000301", 2451605}, {"20000229", 2451604},
               {"19700101", 2440588}, {"18581117", 2400001}, {"21000301", 2488129},
               {"16000301", 2305508}, {"20240229", 2460370}};
  for (const Case &c : cases) {
    EXPECT_EQ(julianDayNumber(*readDateDigits(c.digits)), c.day) << c.digits;
  }
  // Consecutive days differ by one across month and year ends, leap days included.
  EXPECT_EQ(
      julianDayNumber(*readDateDigits("20000301")) - julianDayNumber(*readDateDigits("20000228")),
      2);
  EXPECT_EQ(
      julianDayNumber(*readDateDigits("19000301")) - julianDayNumber(*readDateDigits("19000228")),
      1);
}

TEST(UntilNul, CutsAtTheFirstNul) {
  EXPECT_EQ(untilNul("ab\0cd"s), "ab");
  EXPECT_EQ(untilNul("abcd"), "abcd");
  EXPECT_EQ(untilNul("\0x"s), "");
  EXPECT_EQ(untilNul(""), "");
}

TEST(BytePosition, AcceptsOneThroughLength) {
  EXPECT_TRUE(isBytePosition(1, 3));
  EXPECT_TRUE(isBytePosition(3, 3));
  EXPECT_FALSE(isBytePosition(4, 3));
  EXPECT_FALSE(isBytePosition(0, 3));
  EXPECT_FALSE(isBytePosition(-1, 3));
  EXPECT_FALSE(isBytePosition(std::numeric_limits<int32_t>::min(), 3));
  EXPECT_FALSE(isBytePosition(1, 0));
}

TEST(Adjust360, FoldsIntoZeroThroughThreeSixty) {
  const std::pair<double, double> cases[] = {
      {-30, 330},        {720, 360},      {360, 360},  {0, 0},        {-360, 0},
      {361.5, 1.5},      {-0.25, 359.75}, {1080, 360}, {-1e-20, 360},  // as repeated addition gives
      {123.456, 123.456}};
  for (const auto &[angle, folded] : cases) EXPECT_DOUBLE_EQ(adjust360(angle), folded) << angle;
  EXPECT_FALSE(std::signbit(adjust360(-720)));
}

TEST(Adjust360, NeverLoopsOnHugeOrNonFiniteAngles) {
  const double huge = adjust360(1e300);
  EXPECT_GE(huge, 0);
  EXPECT_LE(huge, 360);
  const double hugeNegative = adjust360(-1e300);
  EXPECT_GE(hugeNegative, 0);
  EXPECT_LE(hugeNegative, 360);
  EXPECT_TRUE(std::isnan(adjust360(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_TRUE(std::isnan(adjust360(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(adjust360(-std::numeric_limits<double>::infinity())));
  // Exact for large multiples: 10^6 turns plus 30 degrees.
  EXPECT_DOUBLE_EQ(adjust360(360.0 * 1e6 + 30.0), 30.0);
}

}  // namespace
}  // namespace velalib
