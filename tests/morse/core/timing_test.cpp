#include "core/timing.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "core/code_table.hpp"
#include "core/timed_wait.hpp"
#include "fakes.hpp"

namespace morse {
namespace {

// The rules written out step by step, for settings inside the bounds: T = 1320 / WPM in whole
// milliseconds, stretched by Farnsworth, shortened by the speed adjust (keyer only), weighted, then
// the gaps; the announcement's character gap leaves out the 0.85. The keyer, announcer and library
// tests pin worked values (15, 13 and 25 WPM, weight, Farnsworth with a negative word gap); the
// reliability tests key and return at absurd speeds, weights and Farnsworth.
Durations model(const KeyingSettings &s, bool announcement = false) {
  const double f = static_cast<uint32_t>(s.farnsworth);
  const int32_t a = static_cast<int32_t>(1320 / s.wpm / (1.0 + f / 100.0));
  const int32_t d =
      announcement ? a : static_cast<int32_t>(std::trunc(a * (1.0 - s.speedAdjust / 100.0)));
  const double w = 1.0 + s.weight / 100.0;
  Durations out;
  out.dash = static_cast<int32_t>(3.0 * d * w);
  out.dot = static_cast<int32_t>(d / w);
  out.elementGap = static_cast<int32_t>(out.dot * (1.0 + s.elementGapAdjust / 100.0));
  const double spread = (announcement ? 1.0 : 0.85) * out.dash * (1.0 + f / 28.0);
  out.characterGap =
      static_cast<int32_t>(static_cast<int32_t>(spread) * (1.0 + s.characterGapAdjust / 100.0));
  out.wordGap = static_cast<int32_t>(
      std::trunc(1.4 * out.dash * (1.0 + s.wordGapAdjust / 100.0) - out.characterGap));
  return out;
}

KeyingSettings settings(int32_t wpm, double weight = 0, int32_t farnsworth = 0,
                        int32_t speedAdjust = 0) {
  KeyingSettings s;
  s.wpm = wpm;
  s.weight = weight;
  s.farnsworth = farnsworth;
  s.speedAdjust = speedAdjust;
  return s;
}

TEST(Timing, KeyerAndAnnouncementFollowTheModelOverAGridOfSettings) {
  for (int32_t wpm : {5, 12, 13, 15, 20, 25, 33, 40, 60, 99}) {
    for (int32_t weight : {-50, -25, 0, 20, 50, 100}) {
      for (int32_t farnsworth : {0, 10, 28, 50, 100}) {
        for (const auto &[speed, element, character, word] :
             {std::tuple{0, 0, 0, 0}, {10, 50, -25, 100}, {-20, -10, 30, -40}}) {
          KeyingSettings s = settings(wpm, weight, farnsworth, speed);
          s.elementGapAdjust = element;
          s.characterGapAdjust = character;
          s.wordGapAdjust = word;
          SCOPED_TRACE(::testing::Message() << wpm << " WPM, weight " << weight << ", farnsworth "
                                            << farnsworth << ", speed " << speed);
          ASSERT_EQ(computeDurations(s), model(s));
          ASSERT_EQ(computeAnnouncementDurations(wpm, weight, farnsworth, s), model(s, true));
        }
      }
    }
  }
}

// The codes run from the blank to the backslash ('[' keys nothing); nothing outside has one.
TEST(CodeTable, HoldsTheCodesAndNothingOutsideBlankToBackslash) {
  const std::pair<char, const char *> codes[] = {
      {'@', "........"}, {'\\', "_..._"}, {'[', ""}, {' ', " "}};
  for (const auto &[c, code] : codes) EXPECT_EQ(codeFor(c), code) << c;
  for (const char c : {']', 'a', '\x1f', '\xc3'}) EXPECT_FALSE(codeFor(c)) << c;
}

// A wait taken mid-millisecond lasts its milliseconds to the microsecond and spins only the last
// stretch; zero or less does not wait; a stop signal ends it when it comes, at once if it came.
TEST(TimedWait, LastsToTheMicrosecondAndEndsAtAStopSignal) {
  constexpr uint64_t kNone = UINT64_MAX;
  const struct {
    int32_t ms;
    uint64_t signalUs, tookUs;
    bool whole;
  } cases[] = {
      {88, kNone, 88'000, true},    {0, kNone, 0, true}, {INT32_MIN, kNone, 0, true},
      {100, 30'000, 30'000, false}, {100, 0, 0, false},
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
