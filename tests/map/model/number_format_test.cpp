#include "model/number_format.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace orbelle::model {
namespace {

TEST(NumberFormat, GeneralFormatWithoutTrailingZerosOrSeparators) {
  const NumberFormat n(QLocale::c());
  EXPECT_EQ(n.text(33.9), "33.9");
  EXPECT_EQ(n.text(-84.179), "-84.179");
  EXPECT_EQ(n.text(12437), "12437");
  EXPECT_EQ(n.text(1234567.0), "1234567");
  EXPECT_EQ(n.text(0.1 + 0.2), "0.3");  // 15 significant digits
  EXPECT_EQ(n.text(-0.0), "0");
}

TEST(NumberFormat, OperatorsDecimalSeparatorBothWays) {
  const NumberFormat n(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(n.text(33.9), "33,9");
  EXPECT_EQ(n.text(12437), "12437");  // no thousands separator
  ASSERT_TRUE(n.parse("-84,179").has_value());
  EXPECT_DOUBLE_EQ(*n.parse("-84,179"), -84.179);
}

TEST(NumberFormat, OnlyFiniteNumbersParse) {
  const NumberFormat n(QLocale::c());
  EXPECT_EQ(n.parse(" 50 "), 50.0);
  EXPECT_EQ(n.parse("1e3"), 1000.0);
  EXPECT_FALSE(n.parse("abc").has_value());
  EXPECT_FALSE(n.parse("").has_value());
  EXPECT_FALSE(n.parse("12abc").has_value());
  EXPECT_FALSE(n.parse("inf").has_value());
  EXPECT_FALSE(n.parse("nan").has_value());
  EXPECT_FALSE(n.parse("1e999").has_value());
}

}  // namespace
}  // namespace orbelle::model
