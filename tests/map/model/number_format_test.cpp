#include "model/number_format.hpp"

#include <gtest/gtest.h>

namespace orbelle::model {
namespace {

// The general format in the operator's locale, without trailing zeros or thousands separators,
// and only finite numbers parsed back.
TEST(NumberFormat, WritesAndParsesInTheOperatorsLocale) {
  const NumberFormat c(QLocale::c()), german(QLocale(QLocale::German, QLocale::Germany));
  const std::pair<double, const char*> texts[] = {{33.9, "33.9"},
                                                  {-84.179, "-84.179"},
                                                  {1234567.0, "1234567"},
                                                  {0.1 + 0.2, "0.3"},
                                                  {-0.0, "0"}};
  for (const auto& [value, text] : texts) EXPECT_EQ(c.text(value), text);
  EXPECT_EQ(german.text(33.9), "33,9");
  EXPECT_EQ(german.text(12437), "12437");
  EXPECT_EQ(german.parse("-84,179"), -84.179);
  EXPECT_EQ(c.parse(" 50 "), 50.0);
  EXPECT_EQ(c.parse("1e3"), 1000.0);
  for (const char* bad : {"abc", "", "12abc", "inf", "nan", "1e999"}) {
    EXPECT_FALSE(c.parse(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace orbelle::model
