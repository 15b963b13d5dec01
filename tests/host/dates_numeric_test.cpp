#include <gtest/gtest.h>

#include "dates.hpp"
#include "numeric.hpp"

namespace foxhost {
namespace {

// Every day of four centuries round-trips; the days around February show the leap rules.
TEST(Dates, CivilDatesRoundTripAndFollowTheLeapRules) {
  EXPECT_EQ(dates::julianDay({2000, 1, 1}), 2451545);
  EXPECT_EQ(dates::julianDay({1, 1, 1}), 1721426);
  for (int64_t jd = dates::julianDay({1900, 1, 1}); jd <= dates::julianDay({2300, 12, 31}); ++jd) {
    const dates::CivilDate d = dates::civilDate(jd);
    ASSERT_TRUE(dates::isValid(d)) << jd;
    ASSERT_EQ(dates::julianDay(d), jd);
    const bool leap = d.year % 4 == 0 && (d.year % 100 != 0 || d.year % 400 == 0);
    ASSERT_EQ(dates::isValid({d.year, 2, 29}), leap) << d.year;
  }
  EXPECT_FALSE(dates::isValid({2024, 4, 31}));
  EXPECT_FALSE(dates::isValid({2024, 13, 1}));
  EXPECT_FALSE(dates::isValid({0, 1, 1}));
}

TEST(Numeric, FormatStrAndVal) {
  const struct {
    double value;
    int decimals;
    const char *text;
  } fixed[] = {
      {2.675, 2, "2.68"},  // rounds half away from zero on the decimal value, not the binary one
      {-2.5, 0, "-3"},          {1.005, 2, "1.01"},
      {9.995, 2, "10.00"},      {-0.001, 2, "0.00"},  // no negative zero
      {0.000123, 5, "0.00012"}, {1e20, 1, "100000000000000000000.0"},
  };
  for (const auto &c : fixed) EXPECT_EQ(numeric::formatFixed(c.value, c.decimals), c.text);
  EXPECT_EQ(numeric::str(3.14159, 8, 2), "    3.14");
  EXPECT_EQ(numeric::str(1.25, 3, 2), "1.3");  // decimals dropped to fit
  EXPECT_EQ(numeric::str(-5, 2, 0), "-5");
  EXPECT_EQ(numeric::str(-50, 2, 0), "**");
  EXPECT_EQ(numeric::str(7, 0, 0), "");
  EXPECT_EQ(numeric::val("  12.50abc").decimals, 2u);
  for (const auto &[text, value] :
       {std::pair{"-3", -3.0}, {"\t+7", 7.0}, {"abc", 0.0}, {"-", 0.0}, {".5", 0.5}}) {
    EXPECT_DOUBLE_EQ(numeric::val(text).value, value) << text;
  }
}

}  // namespace
}  // namespace foxhost
