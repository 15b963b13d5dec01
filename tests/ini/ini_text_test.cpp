#include "ini/ini_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orbelle {
namespace {

// A sign place for positives, no negative zero, exponents beyond 15 digits, 15
// significant digits.
TEST(NumberText, ExamplesOfTheStoredForm) {
  const std::pair<double, const char *> cases[] = {{33.9, " 33.9"},
                                                   {-84.179, "-84.179"},
                                                   {-0.0, " 0"},
                                                   {1e15, " 1E+15"},
                                                   {0.00001, " 1E-05"},
                                                   {12437.565315561978, " 12437.565315562"},
                                                   {123456789012345.0, " 123456789012345"}};
  for (const auto &[x, text] : cases) EXPECT_EQ(numberText(x), text) << x;
}

// No number reads as 0; only a number beyond the type's range is none.
TEST(LeadingNumber, ReadsThePrefixThatFormsANumber) {
  const std::pair<const char *, std::optional<double>> cases[] = {
      {"  +12.5kg", 12.5}, {"1.2.3", 1.2},   {"2.5e-3x", 0.0025},  {"7e+", 7}, {".5", 0.5},
      {"5.", 5},           {"\t-3", -3},     {"abc", 0},           {"-", 0},   {"1e-999", 0},
      {"1e999", {}},       {"-0.5e400", {}}, {"000.0000e99999", 0}};
  for (const auto &[text, value] : cases) EXPECT_EQ(leadingDouble(text), value) << text;
  EXPECT_EQ(leadingSingle("1e39"), std::nullopt);
  EXPECT_EQ(leadingSingle("3e38"), 3e38f);
  EXPECT_EQ(leadingSingle("1e-50"), 0.0f);
}

// Halves round to even; the whole text must be a number within the bounds.
TEST(DecimalInteger, WholeTextMustBeANumber) {
  const std::pair<const char *, std::optional<std::int32_t>> cases[] = {
      {"5.5", 6},      {"-4.5 ", -4},      {"-3.5", -4},  {"1e3", 1000}, {"32767.4", 32767},
      {"32767.5", {}}, {"-32768", -32768}, {"12abc", {}}, {"", {}},      {"1e999", {}}};
  for (const auto &[text, value] : cases) {
    EXPECT_EQ(decimalInteger(text, -32768, 32767), value) << text;
  }
  EXPECT_EQ(decimalInteger("2147483647", std::numeric_limits<std::int32_t>::min(),
                           std::numeric_limits<std::int32_t>::max()),
            2147483647);
  EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
}

TEST(BooleanText, TrueAndFalseForms) {
  for (const char *yes : {"ON", "on", "Yes", "y", "True", "1", "yes please", "10"}) {
    EXPECT_TRUE(booleanText(yes)) << yes;
  }
  for (const char *no : {"O", "No", "0", "-1", "", "off", "ONE", " Y"}) {
    EXPECT_FALSE(booleanText(no)) << no;
  }
}

// Fields out of range carry; trailing text is ignored; fewer than eight digits
// is no date.
TEST(DateText, BothWays) {
  EXPECT_EQ(DateToIniText(DateSerial(1999, 12, 31)), "19991231");
  const std::pair<const char *, std::optional<DateTime>> cases[] = {
      {"20001305", DateSerial(2001, 1, 5)},
      {"20000230", DateSerial(2000, 3, 1)},
      {"20000700", DateSerial(2000, 6, 30)},
      {"20000705 and more", DateSerial(2000, 7, 5)},
      {"2000", {}},
      {"2000ab05", {}}};
  for (const auto &[text, date] : cases) EXPECT_EQ(IniTextToDate(text), date) << text;
}

}  // namespace
}  // namespace orbelle
