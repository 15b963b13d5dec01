#include "spots/hover_text.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace orbelle::spots {
namespace {

TEST(HoverText, TrimsOnlySpacesAndWritesTheGeneralNumberFormat) {
  const std::pair<const char*, const char*> trims[] = {
      {"  DL1ABC  ", "DL1ABC"}, {"a b", "a b"},  {"    ", ""}, {"", ""},
      {"\tCW\t", "\tCW\t"},     {" \nX ", "\nX"}};
  for (const auto& [text, trimmed] : trims) EXPECT_EQ(trimBlanks(text), trimmed) << text;

  struct Case {
    double value;
    const char* separator;
    const char* text;
  };
  const Case numbers[] = {
      {21.4, ".", "21.4"},
      {14025, ".", "14025"},
      {1234567.0, ".", "1234567"},  // no thousands separator
      {0.1 + 0.2, ".", "0.3"},      // 15 digits hide the binary noise
      {123456789012345.0, ".", "123456789012345"},
      {2.0 / 3.0, ".", "0.666666666666667"},
      {-3.5, ".", "-3.5"},
      {0.0001, ".", "0.0001"},
      {-0.0, ".", "0"},
      {1e15, ".", "1E+15"},
      {2.5e-5, ".", "2.5E-05"},
      {NAN, ".", "NaN"},
      {INFINITY, ".", "Infinity"},
      {-INFINITY, ".", "-Infinity"},
      {21.4, ",", "21,4"},
      {1.5e-6, ",", "1,5E-06"},
      {7.0235, "\xd9\xab",
       "7\xd9\xab"
       "0235"},  // a two-byte separator (Arabic, UTF-8)
  };
  for (const Case& c : numbers)
    EXPECT_EQ(generalNumberText(c.value, c.separator), c.text) << c.text;
}

// Empty fields keep their separators (the spot list's tests check the texts of a whole spot).
TEST(HoverText, EmptyFieldsKeepTheSeparators) {
  EXPECT_EQ(spotHoverText(SpotArgs{}, ","), " (by ) 0   , ");
  EXPECT_EQ(spotterHoverText(SpotArgs{}), "By ,  ()");
}

}  // namespace
}  // namespace orbelle::spots
