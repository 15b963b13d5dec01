#include <gtest/gtest.h>

#include "dates.hpp"
#include "numeric.hpp"

namespace foxhost {
namespace {

TEST(Dates, JulianDayNumbersOfKnownDays) {
  EXPECT_EQ(dates::julianDay({2000, 1, 1}), 2451545);
  EXPECT_EQ(dates::julianDay({2000, 2, 29}), 2451604);
  EXPECT_EQ(dates::julianDay({2000, 3, 1}), 2451605);
  EXPECT_EQ(dates::julianDay({1970, 1, 1}), 2440588);
  EXPECT_EQ(dates::julianDay({1, 1, 1}), 1721426);
}

TEST(Dates, CivilDateRoundTripsEveryDayOfFourCenturies) {
  for (int64_t jd = dates::julianDay({1900, 1, 1}); jd <= dates::julianDay({2300, 12, 31}); ++jd) {
    const dates::CivilDate d = dates::civilDate(jd);
    ASSERT_TRUE(dates::isValid(d)) << jd;
    ASSERT_EQ(dates::julianDay(d), jd);
  }
}

TEST(Dates, Validity) {
  EXPECT_TRUE(dates::isValid({2024, 2, 29}));
  EXPECT_FALSE(dates::isValid({2023, 2, 29}));
  EXPECT_FALSE(dates::isValid({1900, 2, 29}));
  EXPECT_TRUE(dates::isValid({2000, 2, 29}));
  EXPECT_FALSE(dates::isValid({2024, 4, 31}));
  EXPECT_FALSE(dates::isValid({2024, 13, 1}));
  EXPECT_FALSE(dates::isValid({0, 1, 1}));
}

struct SettingCase {
  const char *setting;
  const char *text;  // 6 May 2024
};

TEST(Dates, FormatAndParseUnderEverySetting) {
  const int64_t day = dates::julianDay({2024, 5, 6});
  const SettingCase cases[] = {
      {"AMERICAN", "05/06/2024"}, {"ANSI", "2024.05.06"},   {"BRITISH", "06/05/2024"},
      {"FRENCH", "06/05/2024"},   {"GERMAN", "06.05.2024"}, {"ITALIAN", "06-05-2024"},
      {"JAPAN", "2024/05/06"},    {"USA", "05-06-2024"},    {"MDY", "05/06/2024"},
      {"DMY", "06/05/2024"},      {"YMD", "2024/05/06"},
  };
  for (const SettingCase &c : cases) {
    EXPECT_EQ(dates::format(day, c.setting), c.text) << c.setting;
    EXPECT_EQ(dates::parse(c.text, c.setting), day) << c.setting;
  }
  EXPECT_EQ(dates::format(0, "AMERICAN"), "  /  /    ");
  EXPECT_EQ(dates::format(0, "ANSI"), "    .  .  ");
}

TEST(Dates, SettingNamesAreCaseBlind) {
  EXPECT_EQ(dates::settingName("german"), "GERMAN");
  EXPECT_EQ(dates::settingName("Mdy"), "MDY");
  EXPECT_FALSE(dates::settingName("LONG").has_value());
}

TEST(Dates, ParseRefusesWhatIsNotADay) {
  EXPECT_EQ(dates::parse("02/30/2024", "MDY"), 0);
  EXPECT_EQ(dates::parse("13/01/2024", "MDY"), 0);
  EXPECT_EQ(dates::parse("", "MDY"), 0);
  EXPECT_EQ(dates::parse("01/02", "MDY"), 0);
  EXPECT_EQ(dates::parse("01/02/2024/5", "MDY"), 0);
  EXPECT_EQ(dates::parse("99999999999/1/1", "YMD"), 0);
}

TEST(Dates, TwoDigitYearsFallIn1950To2049) {
  EXPECT_EQ(dates::parse("01/02/49", "MDY"), dates::julianDay({2049, 1, 2}));
  EXPECT_EQ(dates::parse("01/02/50", "MDY"), dates::julianDay({1950, 1, 2}));
  EXPECT_EQ(dates::parse("0049/01/02", "YMD"), dates::julianDay({49, 1, 2}));  // four digits kept
}

TEST(Numeric, FormatFixedRoundsHalfAwayFromZeroOnTheDecimalValue) {
  EXPECT_EQ(numeric::formatFixed(2.675, 2), "2.68");  // binary value is below 2.675
  EXPECT_EQ(numeric::formatFixed(2.5, 0), "3");
  EXPECT_EQ(numeric::formatFixed(-2.5, 0), "-3");
  EXPECT_EQ(numeric::formatFixed(0.5, 0), "1");
  EXPECT_EQ(numeric::formatFixed(1.005, 2), "1.01");
  EXPECT_EQ(numeric::formatFixed(9.995, 2), "10.00");
  EXPECT_EQ(numeric::formatFixed(-0.001, 2), "0.00");  // no negative zero
  EXPECT_EQ(numeric::formatFixed(0.000123, 5), "0.00012");
  EXPECT_EQ(numeric::formatFixed(123456789012.0, 0), "123456789012");
  EXPECT_EQ(numeric::formatFixed(1e20, 1), "100000000000000000000.0");
}

TEST(Numeric, StrFitsTheLength) {
  EXPECT_EQ(numeric::str(20, 10, 0), "        20");
  EXPECT_EQ(numeric::str(3.14159, 8, 2), "    3.14");
  EXPECT_EQ(numeric::str(1.25, 3, 2), "1.3");  // decimals dropped to fit
  EXPECT_EQ(numeric::str(123456, 3, 0), "***");
  EXPECT_EQ(numeric::str(-5, 2, 0), "-5");
  EXPECT_EQ(numeric::str(-50, 2, 0), "**");
  EXPECT_EQ(numeric::str(7, 0, 0), "");
}

TEST(Numeric, Val) {
  EXPECT_DOUBLE_EQ(numeric::val("  12.50abc").value, 12.5);
  EXPECT_EQ(numeric::val("  12.50abc").decimals, 2u);
  EXPECT_DOUBLE_EQ(numeric::val("-3").value, -3);
  EXPECT_DOUBLE_EQ(numeric::val("abc").value, 0);
  EXPECT_DOUBLE_EQ(numeric::val("-").value, 0);
  EXPECT_DOUBLE_EQ(numeric::val(".5").value, 0.5);
  EXPECT_DOUBLE_EQ(numeric::val("").value, 0);
}

}  // namespace
}  // namespace foxhost
