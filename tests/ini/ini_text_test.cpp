#include "ini/ini_text.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace orbelle {
namespace {

// The prefix that forms a number; no number reads as 0; only one beyond the type's range is none.
TEST(IniText, LeadingNumbers) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"  +12.5kg", 12.5}, {"1.2.3", 1.2}, {"7e+", 7},       {"abc", 0},
      {"1e-999", 0},       {"1e999", {}},  {"-0.5e400", {}}, {"000.0000e99999", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(leadingDouble(text), value) << text;
  EXPECT_EQ(leadingSingle("1e39"), std::nullopt);
  EXPECT_EQ(leadingSingle("3e38"), 3e38f);
}

// Halves round to even; the whole text must be a number within the bounds.
TEST(IniText, DecimalIntegers) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"-4.5 ", -4},   {"-3.5", -4},       {"1e3", 1000}, {"32767.4", 32767},
      {"32767.5", {}}, {"-32768", -32768}, {"12abc", {}}, {"", {}}};
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(decimalInteger(text, -32768, 32767), value) << text;
  }
  EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
}

// True is a text that starts with Y, T or 1, or is "on", in either case.
TEST(IniText, BooleansAndDates) {
  for (const char* yes : {"ON", "on", "Yes", "y", "True", "t", "10"})
    EXPECT_TRUE(booleanText(yes)) << yes;
  for (const char* no : {"O", "No", "0", "-1", "", "ONE", " Y"})
    EXPECT_FALSE(booleanText(no)) << no;
  EXPECT_EQ(IniTextToDate("20001305 and more"), DateSerial(2001, 1, 5));
  EXPECT_EQ(IniTextToDate("2000"), std::nullopt);
  EXPECT_EQ(IniTextToDate("2000ab05"), std::nullopt);
}

}  // namespace
}  // namespace orbelle
