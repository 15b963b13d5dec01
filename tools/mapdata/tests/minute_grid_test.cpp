#include "minute_grid.hpp"

#include <gtest/gtest.h>

namespace mapdata {
namespace {

TEST(MinuteGrid, RoundsHalfToEven) {
  EXPECT_EQ(roundHalfEven(0.5), 0.0);
  EXPECT_EQ(roundHalfEven(1.5), 2.0);
  EXPECT_EQ(roundHalfEven(2.5), 2.0);
  EXPECT_EQ(roundHalfEven(-0.5), 0.0);
  EXPECT_EQ(roundHalfEven(-1.5), -2.0);
  EXPECT_EQ(roundHalfEven(-2.5), -2.0);
  EXPECT_EQ(roundHalfEven(2.4999), 2.0);
  EXPECT_EQ(roundHalfEven(-2.5001), -3.0);
  // 12.5 minutes is a tie: to 12; 13.5 to 14.
  EXPECT_EQ(toMinutes({12.5 / 60, 13.5 / 60}), (MinutePoint{14, 12}));
  EXPECT_EQ(toMinutes({-180, 90}), (MinutePoint{5400, -10800}));
}

TEST(MinuteGrid, DropsRepeatedVerticesIncludingTheSameMeridian) {
  const MinuteLine line =
      toMinuteLine({{0, 0}, {0.004, 0.004}, {1, 1}, {180, 2}, {-180, 2}, {-179.9, 2}});
  const MinuteLine expected = {{0, 0}, {60, 60}, {120, 10800}, {120, -10794}};
  EXPECT_EQ(line, expected);
}

TEST(MinuteGrid, GridAreaOfRings) {
  const MinuteLine square = {{0, 0}, {0, 2}, {2, 2}, {2, 0}, {0, 0}};
  EXPECT_EQ(std::llabs(twiceGridArea(square)), 8);
  const MinuteLine flat = {{0, 0}, {0, 1}, {0, 2}, {0, 0}};
  EXPECT_EQ(twiceGridArea(flat), 0);
  const MinuteLine spike = {{0, 0}, {1, 1}, {0, 0}};
  EXPECT_EQ(twiceGridArea(spike), 0);
  // The same square straddling the antimeridian.
  const MinuteLine across = {{0, 10799}, {0, -10799}, {2, -10799}, {2, 10799}, {0, 10799}};
  EXPECT_EQ(std::llabs(twiceGridArea(across)), 8);
  const MinuteLine roundPole = {{-4800, -10800}, {-4800, -3600}, {-4800, 3600}, {-4800, 10800}};
  EXPECT_EQ(twiceGridArea(roundPole), kWindsRoundPole);
}

}  // namespace
}  // namespace mapdata
