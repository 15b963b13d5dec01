#include "core/timed_wait.hpp"

#include <gtest/gtest.h>

#include "core/constants.hpp"
#include "fakes.hpp"

namespace morse {
namespace {

using test::ScriptedHost;
using test::StepClock;

struct WaitFixture : ::testing::Test {
  StepClock clock{5'000'437};  // mid-millisecond: a plain millisecond deadline would be short
  ScriptedHost host{clock};

  // Microseconds the wait took, and whether it reached its end.
  std::pair<uint64_t, bool> wait(int32_t ms) {
    const uint64_t before = clock.peek();
    const bool whole = timedWait(clock, host, ms);
    return {clock.peek() - before, whole};
  }
};

TEST_F(WaitFixture, LastsItsMillisecondsToTheMicrosecondAndSpinsOnlyTheLastStretch) {
  for (int32_t ms : {88, 1, 60000}) {
    clock.reads = 0;
    const auto [us, whole] = wait(ms);
    EXPECT_TRUE(whole);
    EXPECT_GE(us, ms * 1000u) << ms;
    EXPECT_LE(us, ms * 1000u + 2) << ms;
    // The clock steps 1 us a read: a wait that spun all the way would read it ms * 1000 times.
    EXPECT_LE(clock.reads, std::min<uint64_t>(ms * 1000u, kSpinMicros) + 4) << ms;
  }
}

TEST_F(WaitFixture, ZeroAndNegativeDurationsDoNotWait) {
  for (int32_t ms : {0, -127, INT32_MIN}) EXPECT_LE(wait(ms).first, 2u) << ms;
}

TEST_F(WaitFixture, AStopSignalCutsTheWaitShortWhenItComes) {
  clock.signalAtMicros = clock.peek() + 30'000;
  const auto [us, whole] = wait(100);
  EXPECT_FALSE(whole);
  EXPECT_NEAR(static_cast<double>(us), 30'000, 2);
  EXPECT_FALSE(wait(100).second);  // and every wait after it returns at once
  EXPECT_LE(wait(100).first, 2u);
}

}  // namespace
}  // namespace morse
