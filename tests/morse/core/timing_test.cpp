#include "core/timing.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <tuple>

#include "core/code_table.hpp"

namespace morse {
namespace {

Durations keyer(int32_t wpm, double weight = 0, int32_t farnsworth = 0, int32_t speedAdjust = 0) {
  KeyingSettings s;
  s.wpm = wpm;
  s.weight = weight;
  s.farnsworth = farnsworth;
  s.speedAdjust = speedAdjust;
  return computeDurations(s);
}

// The rules written out step by step, for settings inside the bounds: T = 1320 / WPM in whole
// milliseconds, stretched by Farnsworth, shortened by the speed adjust (keyer only), weighted,
// then the gaps; the announcement's character gap leaves out the 0.85.
Durations model(const KeyingSettings &s, bool announcement = false) {
  const double f = static_cast<uint32_t>(s.farnsworth);
  const int32_t t = 1320 / s.wpm;
  const int32_t a = static_cast<int32_t>(t / (1.0 + f / 100.0));
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

std::string describe(const KeyingSettings &s) {
  return "wpm " + std::to_string(s.wpm) + " weight " + std::to_string(s.weight) + " farnsworth " +
         std::to_string(s.farnsworth) + " speed " + std::to_string(s.speedAdjust) + " gaps " +
         std::to_string(s.elementGapAdjust) + "/" + std::to_string(s.characterGapAdjust) + "/" +
         std::to_string(s.wordGapAdjust);
}

TEST(Timing, WorkedValues) {
  const struct {
    int32_t wpm, weight, farnsworth, speedAdjust, elementGap, characterGap, wordGap;
    Durations want;
  } cases[] = {
      {15, 0, 0, 0, 0, 0, 0, {88, 264, 88, 224, 145}},    // the load settings
      {13, 0, 0, 0, 0, 0, 0, {101, 303, 101, 257, 167}},  // 1320 / 13 is 101, not 101.54
      {20, 0, 50, 0, 0, 0, 0, {44, 132, 44, 312, -127}},  // A = 44; the word gap is negative
      {15, 0, 0, 0, 50, -25, 100, {88, 264, 132, 168, 571}},
      {15, 0, 0, 10, 0, 0, 0, {79, 237, 79, 201, 130}},  // 88 * 0.9 = 79.2 -> 79
  };
  for (const auto &c : cases) {
    KeyingSettings s;
    s.wpm = c.wpm;
    s.weight = c.weight;
    s.farnsworth = c.farnsworth;
    s.speedAdjust = c.speedAdjust;
    s.elementGapAdjust = c.elementGap;
    s.characterGapAdjust = c.characterGap;
    s.wordGapAdjust = c.wordGap;
    SCOPED_TRACE(describe(s));
    EXPECT_EQ(computeDurations(s), c.want);
    EXPECT_EQ(model(s), c.want);
  }
}

// Announcements skip the speed adjust and the 0.85 of the character gap.
TEST(Timing, AnnouncementWorkedValues) {
  KeyingSettings adjusts;
  adjusts.speedAdjust = 50;
  EXPECT_EQ(computeAnnouncementDurations(13, 0, 0, adjusts), (Durations{101, 303, 101, 303, 121}));
  adjusts.characterGapAdjust = 10;
  EXPECT_EQ(computeAnnouncementDurations(13, 0, 0, adjusts).characterGap, 333);
  // A = 51, dash 153: trunc(trunc(153 * 2) * 1.1).
  EXPECT_EQ(computeAnnouncementDurations(20, 0, 28, adjusts).characterGap, 336);
}

TEST(Timing, KeyerAndAnnouncementFollowTheRulesOverAGridOfSettings) {
  for (int32_t wpm : {5, 12, 13, 15, 20, 25, 33, 40, 60, 99}) {
    for (int32_t weight : {-50, -25, 0, 20, 50, 100}) {
      for (int32_t farnsworth : {0, 10, 28, 50, 100}) {
        for (const auto &[speed, element, character, word] :
             {std::tuple{0, 0, 0, 0}, {10, 50, -25, 100}, {-20, -10, 30, -40}}) {
          KeyingSettings s;
          s.wpm = wpm;
          s.weight = weight;
          s.farnsworth = farnsworth;
          s.speedAdjust = speed;
          s.elementGapAdjust = element;
          s.characterGapAdjust = character;
          s.wordGapAdjust = word;
          SCOPED_TRACE(describe(s));
          ASSERT_EQ(computeDurations(s), model(s));
          ASSERT_EQ(computeAnnouncementDurations(wpm, weight, farnsworth, s), model(s, true));
        }
      }
    }
  }
}

TEST(Timing, AbsurdSettingsNeitherTrapNorRunAway) {
  for (int32_t wpm : {0, -1, -1000, INT32_MIN}) {
    const Durations d = keyer(wpm);
    EXPECT_EQ(d, keyer(1)) << "wpm " << wpm;  // computed as 1 WPM
  }
  EXPECT_EQ(keyer(INT32_MAX), (Durations{0, 0, 0, 0, 0}));

  // Speed adjust above 100 turns the unit negative: no wait anywhere, nothing positive.
  const Durations fast = keyer(15, 0, 0, 150);
  EXPECT_LE(fast.dot, 0);
  EXPECT_LE(fast.dash, 0);

  // A negative Farnsworth read as unsigned is a huge divisor, not a zero one.
  const Durations huge = keyer(15, 0, -100);
  EXPECT_EQ(huge.dot, 0);
  EXPECT_EQ(huge.dash, 0);

  // Weight -100 would divide by zero for the dot: bounded.
  const Durations w = keyer(15, -100);
  EXPECT_EQ(w.dash, 0);
  EXPECT_EQ(w.dot, kMaxDurationMs);
  const Durations big = keyer(1, 1e9);
  EXPECT_EQ(big.dash, kMaxDurationMs);
  EXPECT_LE(big.wordGap, kMaxDurationMs);
  EXPECT_GE(big.wordGap, -kMaxDurationMs);

  const Durations annu = computeAnnouncementDurations(0, -100, -1, KeyingSettings{});
  EXPECT_LE(annu.dot, kMaxDurationMs);
  EXPECT_GE(annu.dot, 0);
}

// The codes run from the blank to the backslash; every entry but the blank is dots and dashes.
TEST(CodeTable, HoldsTheCodesAndNothingOutsideBlankToBackslash) {
  const std::pair<char, const char *> codes[] = {{'A', "._"},     {'0', "_____"}, {'@', "........"},
                                                 {'\\', "_..._"}, {'[', ""},      {' ', " "}};
  for (const auto &[c, code] : codes) EXPECT_EQ(codeFor(c), code) << c;
  for (const char c : {']', 'a', '\x1f', '\xc3'}) EXPECT_FALSE(codeFor(c)) << c;
  EXPECT_EQ(toUpperAscii('z'), 'Z');
  EXPECT_EQ(toUpperAscii('{'), '{');
  for (char c = '!'; c <= '\\'; ++c) {
    const auto code = codeFor(c);
    ASSERT_TRUE(code) << c;
    EXPECT_EQ(code->find_first_not_of("._"), std::string_view::npos) << c;
  }
}

}  // namespace
}  // namespace morse
