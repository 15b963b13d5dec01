#include "core/timed_wait.hpp"

#include <gtest/gtest.h>

#include "core/constants.hpp"
#include "fakes.hpp"

namespace morse {
namespace {

// A wait taken mid-millisecond lasts its milliseconds to the microsecond and spins only the last
// stretch; zero or less does not wait; a stop signal ends it when it comes, at once if it came.
TEST(TimedWait, LastsToTheMicrosecondAndEndsAtAStopSignal) {
  constexpr uint64_t kNone = UINT64_MAX;
  const struct {
    int32_t ms;
    uint64_t signalUs, tookUs;
    bool whole;
  } cases[] = {
      {88, kNone, 88'000, true}, {1, kNone, 1'000, true},     {60'000, kNone, 60'000'000, true},
      {0, kNone, 0, true},       {INT32_MIN, kNone, 0, true}, {100, 30'000, 30'000, false},
      {100, 0, 0, false},
  };
  for (const auto &c : cases) {
    test::StepClock clock(5'000'437);
    test::ScriptedHost host(clock);
    const uint64_t start = clock.peek();
    clock.signalAtMicros = c.signalUs == kNone ? kNone : start + c.signalUs;
    EXPECT_EQ(timedWait(clock, host, c.ms), c.whole) << c.ms;
    EXPECT_GE(clock.peek() - start, c.tookUs) << c.ms;
    EXPECT_LE(clock.peek() - start, c.tookUs + 2) << c.ms;
    // The clock steps 1 us a read: a wait that spun all the way would read it ms * 1000 times.
    EXPECT_LE(clock.reads, std::min<uint64_t>(c.tookUs, kSpinMicros) + 4) << c.ms;
  }
}

}  // namespace
}  // namespace morse
