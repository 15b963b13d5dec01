#include "model/options_rules.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace orbelle::model {
namespace {

TEST(OptionsRules, LatitudeIsHeldJustInsideThePoles) {
  EXPECT_EQ(boundLatitude(95.0), 89.9);
  EXPECT_EQ(boundLatitude(90.0), 89.9);
  EXPECT_EQ(boundLatitude(-90.0), -89.9);
  EXPECT_EQ(boundLatitude(-1000.0), -89.9);
  EXPECT_EQ(boundLatitude(89.99), 89.99);
  EXPECT_EQ(boundLatitude(-33.5), -33.5);
}

TEST(OptionsRules, LongitudeIsHeldAtTheDateLine) {
  EXPECT_EQ(boundLongitude(190.0), 180.0);
  EXPECT_EQ(boundLongitude(180.0), 180.0);
  EXPECT_EQ(boundLongitude(-180.5), -180.0);
  EXPECT_EQ(boundLongitude(-180.0), -180.0);
  EXPECT_EQ(boundLongitude(12.25), 12.25);
}

TEST(OptionsRules, MilesAtTheLimitAreKeptAndRoundedHalfToEven) {
  // 12437.5 is not above the limit 12437.565...: kept, and rounds to the even 12438.
  MilesEntry e = milesEntry(12437.5);
  EXPECT_FALSE(e.replacementText.has_value());
  EXPECT_EQ(e.MaxDx, 12438);
  e = milesEntry(12437.565315561978);
  EXPECT_FALSE(e.replacementText.has_value());
  e = milesEntry(12437.5654);
  EXPECT_TRUE(e.replacementText.has_value());
  e = milesEntry(100.5);
  EXPECT_FALSE(e.replacementText.has_value());
  EXPECT_EQ(e.MaxDx, 100);
  e = milesEntry(101.5);
  EXPECT_EQ(e.MaxDx, 102);
  e = milesEntry(99.999);
  EXPECT_EQ(*e.replacementText, "100");
}

TEST(OptionsRules, KilometresGiveWholeMilesRoundedDown) {
  EXPECT_EQ(milesOfKm(100.0), 62);  // 62.138 miles
  EXPECT_EQ(milesOfKm(20015.0), 12436);
  EXPECT_EQ(milesOfKm(160.9), 99);  // 99.98: down, not to the nearest
  EXPECT_EQ(milesOfKm(0.0), 0);
  EXPECT_EQ(milesOfKm(-100.0), -63);
}

TEST(OptionsRules, KilometresBeyondTheSixteenBitRangeAreHeldAtItsEnds) {
  EXPECT_EQ(milesOfKm(1.0e9), std::numeric_limits<std::int16_t>::max());
  EXPECT_EQ(milesOfKm(-1.0e9), std::numeric_limits<std::int16_t>::min());
}

TEST(OptionsRules, WholeMilesRoundHalfToEvenWithinSixteenBits) {
  EXPECT_EQ(wholeMiles(12437.565315561978), 12438);
  EXPECT_EQ(wholeMiles(2.5), 2);
  EXPECT_EQ(wholeMiles(3.5), 4);
  EXPECT_EQ(wholeMiles(1.0e7), 32767);
  EXPECT_EQ(wholeMiles(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace orbelle::model
