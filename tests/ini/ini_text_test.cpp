#include "ini/ini_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orbelle {
namespace {

TEST(RoundHalfEven, TiesGoToEven) {
  EXPECT_EQ(roundHalfEven(5.5), 6);
  EXPECT_EQ(roundHalfEven(4.5), 4);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(-3.5), -4);
  EXPECT_EQ(roundHalfEven(2.4999), 2);
  EXPECT_EQ(roundHalfEven(-0.6), -1);
  EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
}

TEST(NumberText, ExamplesOfTheStoredForm) {
  EXPECT_EQ(numberText(33.9), " 33.9");
  EXPECT_EQ(numberText(-84.179), "-84.179");
  EXPECT_EQ(numberText(600.0), " 600");
  EXPECT_EQ(numberText(0.0), " 0");
  EXPECT_EQ(numberText(-0.0), " 0");
  EXPECT_EQ(numberText(12437.565315561978), " 12437.565315562");
  EXPECT_EQ(numberText(123456789012345.0), " 123456789012345");
  EXPECT_EQ(numberText(1e15), " 1E+15");
  EXPECT_EQ(numberText(0.00001), " 1E-05");
  EXPECT_EQ(numberText(-0.25), "-0.25");
}

TEST(LeadingNumber, ReadsThePrefixThatFormsANumber) {
  EXPECT_EQ(leadingDouble(" 33.9"), 33.9);
  EXPECT_EQ(leadingDouble("-84.179"), -84.179);
  EXPECT_EQ(leadingDouble("  +12.5kg"), 12.5);
  EXPECT_EQ(leadingDouble("1.2.3"), 1.2);
  EXPECT_EQ(leadingDouble("1E+15"), 1e15);
  EXPECT_EQ(leadingDouble("2.5e-3x"), 0.0025);
  EXPECT_EQ(leadingDouble("7e"), 7);
  EXPECT_EQ(leadingDouble("7e+"), 7);
  EXPECT_EQ(leadingDouble(".5"), 0.5);
  EXPECT_EQ(leadingDouble("5."), 5);
  EXPECT_EQ(leadingDouble("\t-3"), -3);
  EXPECT_EQ(leadingDouble("abc"), 0);
  EXPECT_EQ(leadingDouble(""), 0);
  EXPECT_EQ(leadingDouble("-"), 0);
  EXPECT_EQ(leadingDouble("1 2"), 1);
  EXPECT_EQ(leadingDouble("12437.565315562"), 12437.565315562);
}

TEST(LeadingNumber, OutOfRangeValues) {
  EXPECT_EQ(leadingDouble("1e999"), std::nullopt);
  EXPECT_EQ(leadingDouble("-0.5e400"), std::nullopt);
  EXPECT_EQ(leadingDouble("1e-999"), 0);
  EXPECT_EQ(leadingDouble("000.0000e99999"), 0);
  EXPECT_EQ(leadingSingle("1e39"), std::nullopt);
  EXPECT_EQ(leadingSingle("3e38"), 3e38f);
  EXPECT_EQ(leadingSingle("1e-50"), 0.0f);
  EXPECT_EQ(leadingSingle(" 33.9"), 33.9f);
}

TEST(DecimalInteger, WholeTextMustBeANumber) {
  constexpr std::int32_t lo = -32768, hi = 32767;
  EXPECT_EQ(decimalInteger(" 600", lo, hi), 600);
  EXPECT_EQ(decimalInteger("5.5", lo, hi), 6);
  EXPECT_EQ(decimalInteger("4.5", lo, hi), 4);
  EXPECT_EQ(decimalInteger("-4.5 ", lo, hi), -4);
  EXPECT_EQ(decimalInteger("1e3", lo, hi), 1000);
  EXPECT_EQ(decimalInteger("32767.4", lo, hi), 32767);
  EXPECT_EQ(decimalInteger("32767.5", lo, hi), std::nullopt);
  EXPECT_EQ(decimalInteger("-32768", lo, hi), -32768);
  EXPECT_EQ(decimalInteger("70000", lo, hi), std::nullopt);
  EXPECT_EQ(decimalInteger("12abc", lo, hi), std::nullopt);
  EXPECT_EQ(decimalInteger("abc", lo, hi), std::nullopt);
  EXPECT_EQ(decimalInteger("", lo, hi), std::nullopt);
  EXPECT_EQ(decimalInteger("1e999", lo, hi), std::nullopt);
  EXPECT_EQ(decimalInteger("2147483647", std::numeric_limits<std::int32_t>::min(),
                           std::numeric_limits<std::int32_t>::max()),
            2147483647);
}

TEST(BooleanText, TrueAndFalseForms) {
  for (const char* yes : {"ON", "on", "Yes", "y", "True", "1", "TRUE", "yes please", "10"}) {
    EXPECT_TRUE(booleanText(yes)) << yes;
  }
  for (const char* no : {"O", "No", "0", "-1", "", "off", "ONE", "false", " Y"}) {
    EXPECT_FALSE(booleanText(no)) << no;
  }
}

TEST(DateText, BothWays) {
  EXPECT_EQ(DateToIniText(DateSerial(2000, 7, 5)), "20000705");
  EXPECT_EQ(DateToIniText(DateSerial(1999, 12, 31)), "19991231");
  EXPECT_EQ(IniTextToDate("20000705"), DateSerial(2000, 7, 5));
  EXPECT_EQ(IniTextToDate("20001305"), DateSerial(2001, 1, 5));
  EXPECT_EQ(IniTextToDate("20000230"), DateSerial(2000, 3, 1));
  EXPECT_EQ(IniTextToDate("20000700"), DateSerial(2000, 6, 30));
  EXPECT_EQ(IniTextToDate("20000705 and more"), DateSerial(2000, 7, 5));
  EXPECT_EQ(IniTextToDate("2000"), std::nullopt);
  EXPECT_EQ(IniTextToDate("2000ab05"), std::nullopt);
  EXPECT_EQ(IniTextToDate(""), std::nullopt);
}

}  // namespace
}  // namespace orbelle
