#include "core/timed_wait.hpp"

#include <gtest/gtest.h>

#include "fakes.hpp"

namespace morse {
namespace {

using test::StepClock;

uint64_t waited(StepClock &clock, int32_t ms) {
  const uint64_t before = clock.peek();
  timedWait(clock, ms);
  return clock.peek() - before;
}

TEST(TimedWait, LastsItsMillisecondsToTheMicrosecond) {
  StepClock clock(5'000'437);  // mid-millisecond: a plain millisecond deadline would be short
  const uint64_t us = waited(clock, 88);
  EXPECT_GE(us, 88'000u);
  EXPECT_LE(us, 88'002u);
}

TEST(TimedWait, ZeroAndNegativeDurationsDoNotWait) {
  StepClock clock(7'000'000);
  EXPECT_LE(waited(clock, 0), 2u);
  EXPECT_LE(waited(clock, -127), 2u);
  EXPECT_LE(waited(clock, INT32_MIN), 2u);
}

TEST(TimedWait, SurvivesTheWrapOfTheMillisecondCounter) {
  // 3 ms before the 32-bit millisecond counter wraps.
  StepClock clock((uint64_t{1} << 32) * 1000 - 3000 + 250);
  const uint64_t us = waited(clock, 10);
  EXPECT_GE(us, 10'000u);
  EXPECT_LE(us, 10'002u);
}

TEST(TimedWait, DeadlineComparesOnTheWrappingCounter) {
  StepClock clock((uint64_t{1} << 32) * 1000 - 1000);  // millisecond counter at 2^32 - 1
  const Deadline d = Deadline::after(clock, 5);
  EXPECT_EQ(d.millis(), 4u);  // wrapped
  const uint64_t start = clock.peek();
  EXPECT_FALSE(d.reached(start + 4'000));
  EXPECT_FALSE(d.reached(start + 4'998));
  EXPECT_TRUE(d.reached(start + 5'000));
  EXPECT_TRUE(d.reached(start + 90'000'000));
}

}  // namespace
}  // namespace morse
