// Number reading, dates and angles, tested on the pure functions.
#include "conversions.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "number_text.hpp"

namespace velalib {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Whole numbers saturate at 32 bits; decimals always use "." and overflow to infinity or 0.
TEST(NumberText, WholeAndDecimalNumbers) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  const struct {
    std::string text;
    int32_t whole;
    double decimal;
  } cases[] = {
      {"  -17xyz", -17, -17.0},
      {"\t+8", 8, 8.0},
      {"- 5", 0, 0.0},
      {"2147483648", kMax, 2147483648.0},
      {"-2147483649", std::numeric_limits<int32_t>::min(), -2147483649.0},
      {"  -0.5e2 rest", 0, -50.0},
      {"+.75", 0, 0.75},
      {"14.", 14, 14.0},
      {"1E3", 1, 1000.0},
      {"1e+", 1, 1.0},
      {"2e-1x", 2, 0.2},
      {".", 0, 0.0},
      {"-1e400", -1, -kInf},
      {"0.0000001e-400", 0, 0.0},
      {"0e999999999999999999999", 0, 0.0},
      {"1" + std::string(400, '0'), kMax, kInf},
      {"0." + std::string(400, '0') + "1e401", 0, 1.0},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(parseWholeNumber(c.text), c.whole) << c.text;
    EXPECT_DOUBLE_EQ(parseDecimalNumber(c.text), c.decimal) << c.text;
  }
}

TEST(Conversions, DateDigitsAndJulianDays) {
  const std::pair<const char *, int64_t> days[] = {
      {"20000229", 2451604}, {"18581117", 2400001}, {"21000301", 2488129}, {"16000301", 2305508}};
  for (const auto &[digits, day] : days) {
    EXPECT_EQ(julianDayNumber(*readDateDigits(digits)), day) << digits;
  }
  EXPECT_EQ(
      julianDayNumber(*readDateDigits("19000301")) - julianDayNumber(*readDateDigits("19000228")),
      1);
  EXPECT_TRUE(readDateDigits("20240229T1200"));
  for (const char *bad : {"2024022", "2024-02-29", " 20240229"}) EXPECT_FALSE(readDateDigits(bad));
  EXPECT_EQ(mdyText(*readDateDigits("00010101")), "01/01/0001");
}

// Folds into [0, 360] exactly as repeated addition would, and never loops on huge angles.
TEST(Conversions, Adjust360) {
  const std::pair<double, double> cases[] = {
      {720, 360}, {-360, 0}, {-0.25, 359.75}, {-1e-20, 360}, {360.0 * 1e6 + 30.0, 30},
  };
  for (const auto &[angle, folded] : cases) EXPECT_DOUBLE_EQ(adjust360(angle), folded) << angle;
  EXPECT_FALSE(std::signbit(adjust360(-720)));
  for (const double huge : {1e300, -1e300}) {
    EXPECT_GE(adjust360(huge), 0);
    EXPECT_LE(adjust360(huge), 360);
  }
  for (const double bad : {std::nan(""), kInf, -kInf}) EXPECT_TRUE(std::isnan(adjust360(bad)));
}

}  // namespace
}  // namespace velalib
