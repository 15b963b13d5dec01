#include "model/options_rules.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orbelle::model {
namespace {

TEST(OptionsRules, PositionsAreHeldInsideThePolesAndAtTheDateLine) {
  const std::pair<double, double> latitudes[] = {{95, 89.9},     {90, 89.9},     {-90, -89.9},
                                                 {-1000, -89.9}, {89.99, 89.99}, {-33.5, -33.5}};
  for (const auto& [given, held] : latitudes) EXPECT_EQ(boundLatitude(given), held) << given;
  const std::pair<double, double> longitudes[] = {
      {190, 180}, {180, 180}, {-180.5, -180}, {-180, -180}, {12.25, 12.25}};
  for (const auto& [given, held] : longitudes) EXPECT_EQ(boundLongitude(given), held) << given;
}

// The miles field: kept up to the limit 12437.565..., then rounded half to even; bounded entries
// get a replacement text. Kilometres give whole miles rounded down (160.9 km is 99.98 miles),
// held in 16 bits.
TEST(OptionsRules, RadiusEntriesInMilesAndKilometres) {
  struct Case {
    double miles;
    const char* replacement;  // nullptr: the entry is kept
    std::int16_t MaxDx;
  };
  const Case cases[] = {
      {12437.5, nullptr, 12438},    {12437.565315561978, nullptr, 12438},
      {12437.5654, "12437", 12437}, {100.5, nullptr, 100},
      {101.5, nullptr, 102},        {99.999, "100", 100},
  };
  for (const Case& c : cases) {
    const MilesEntry e = milesEntry(c.miles);
    EXPECT_EQ(e.replacementText.has_value(), c.replacement != nullptr) << c.miles;
    if (c.replacement != nullptr) {
      EXPECT_EQ(*e.replacementText, c.replacement) << c.miles;
    }
    EXPECT_EQ(e.MaxDx, c.MaxDx) << c.miles;
    EXPECT_EQ(e.km, static_cast<std::int32_t>(std::floor(e.MaxDx * 1.60933))) << c.miles;
  }
  constexpr std::int16_t kMax = std::numeric_limits<std::int16_t>::max();
  const std::pair<double, std::int16_t> kilometres[] = {
      {100, 62}, {20015, 12436}, {160.9, 99}, {0, 0}, {-100, -63}, {1e9, kMax}, {-1e9, -kMax - 1}};
  for (const auto& [km, miles] : kilometres) EXPECT_EQ(milesOfKm(km), miles) << km;
  const std::pair<double, std::int16_t> whole[] = {
      {12437.565315561978, 12438}, {2.5, 2}, {3.5, 4}, {1e7, kMax}, {NAN, 0}};
  for (const auto& [miles, rounded] : whole) EXPECT_EQ(wholeMiles(miles), rounded) << miles;
}

}  // namespace
}  // namespace orbelle::model
