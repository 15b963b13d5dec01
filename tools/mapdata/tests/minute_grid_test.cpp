#include "minute_grid.hpp"

#include <gtest/gtest.h>

namespace mapdata {
namespace {

TEST(MinuteGrid, RoundsHalfToEvenAndDropsRepeatedVertices) {
  for (const auto& [x, rounded] : {std::pair{0.5, 0.0},
                                   {1.5, 2.0},
                                   {2.5, 2.0},
                                   {-0.5, 0.0},
                                   {-1.5, -2.0},
                                   {-2.5, -2.0},
                                   {2.4999, 2.0},
                                   {-2.5001, -3.0}}) {
    EXPECT_EQ(roundHalfEven(x), rounded) << x;
  }
  // 12.5 minutes is a tie: to 12; 13.5 to 14.
  EXPECT_EQ(toMinutes({12.5 / 60, 13.5 / 60}), (MinutePoint{14, 12}));
  EXPECT_EQ(toMinutes({-180, 90}), (MinutePoint{5400, -10800}));
  // A repeat is also the same place on the other side of 180.
  const MinuteLine expected = {{0, 0}, {60, 60}, {120, 10800}, {120, -10794}};
  EXPECT_EQ(toMinuteLine({{0, 0}, {0.004, 0.004}, {1, 1}, {180, 2}, {-180, 2}, {-179.9, 2}}),
            expected);
}

TEST(MinuteGrid, GridAreaOfRings) {
  for (const auto& [ring, twiceArea] :
       {std::pair{MinuteLine{{0, 0}, {0, 2}, {2, 2}, {2, 0}, {0, 0}}, 8LL},
        {MinuteLine{{0, 0}, {0, 1}, {0, 2}, {0, 0}}, 0LL},  // flat
        {MinuteLine{{0, 0}, {1, 1}, {0, 0}}, 0LL},          // a spike
        {MinuteLine{{0, 10799}, {0, -10799}, {2, -10799}, {2, 10799}, {0, 10799}}, 8LL}}) {
    EXPECT_EQ(std::llabs(twiceGridArea(ring)), twiceArea);
  }
  const MinuteLine roundPole = {{-4800, -10800}, {-4800, -3600}, {-4800, 3600}, {-4800, 10800}};
  EXPECT_EQ(twiceGridArea(roundPole), kWindsRoundPole);
}

}  // namespace
}  // namespace mapdata
