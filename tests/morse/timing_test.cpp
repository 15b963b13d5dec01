#include "core/timing.hpp"

#include <gtest/gtest.h>

#include <climits>

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

TEST(Timing, DurationsOfTheKeyerFollowTheTruncatedSteps) {
  // dot, dash, element gap, character gap, word gap
  EXPECT_EQ(computeDurations(KeyingSettings{}), (Durations{88, 264, 88, 224, 145}));
  EXPECT_EQ(keyer(20), (Durations{66, 198, 66, 168, 109}));
  // 1320 / 13 is 101 in integer division, not 101.54.
  EXPECT_EQ(keyer(13).dot, 101);
  // Farnsworth 50 at 20 WPM: A = 44, character gap 312, word gap negative.
  const Durations f = keyer(20, 0, 50);
  EXPECT_EQ(f.dot, 44);
  EXPECT_EQ(f.dash, 132);
  EXPECT_EQ(f.characterGap, 312);
  EXPECT_LT(f.wordGap, 0);
  // Weight 20 at 25 WPM.
  const Durations w = keyer(25, 20);
  EXPECT_EQ(w.dot, 43);
  EXPECT_EQ(w.dash, 187);
}

TEST(Timing, AdjustsApplyToTheirOwnGap) {
  KeyingSettings s;
  s.elementGapAdjust = 50;
  s.characterGapAdjust = -25;
  s.wordGapAdjust = 100;
  const Durations d = computeDurations(s);
  EXPECT_EQ(d.dot, 88);
  EXPECT_EQ(d.elementGap, 132);    // trunc(88 * 1.5)
  EXPECT_EQ(d.characterGap, 168);  // trunc(224 * 0.75)
  EXPECT_EQ(d.wordGap, 571);       // trunc(1.4 * 264 * 2 - 168)
  // The speed adjust shortens the unit before weighting: 88 * 0.9 = 79.2 -> 79.
  EXPECT_EQ(keyer(15, 0, 0, 10), (Durations{79, 237, 79, 201, 130}));
}

TEST(Timing, AnnouncementVariantSkipsSpeedAdjustAndTheCharacterFactor) {
  KeyingSettings adjusts;
  adjusts.speedAdjust = 50;  // not used by announcements
  EXPECT_EQ(computeAnnouncementDurations(13, 0, 0, adjusts), (Durations{101, 303, 101, 303, 121}));
  adjusts.characterGapAdjust = 10;
  EXPECT_EQ(computeAnnouncementDurations(13, 0, 0, adjusts).characterGap, 333);
  EXPECT_EQ(computeAnnouncementDurations(20, 0, 28, adjusts).characterGap,
            336);  // A = 51, dash 153: trunc(trunc(153 * 2) * 1.1)
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

TEST(CodeTable, HoldsTheCodesAndNothingOutsideBlankToBackslash) {
  EXPECT_EQ(codeFor('A'), "._");
  EXPECT_EQ(codeFor('Q'), "__._");
  EXPECT_EQ(codeFor('0'), "_____");
  EXPECT_EQ(codeFor('"'), "._..._.");
  EXPECT_EQ(codeFor('@'), "........");
  EXPECT_EQ(codeFor('\\'), "_..._");
  EXPECT_EQ(codeFor('?'), "..__..");
  EXPECT_EQ(codeFor('['), "");
  EXPECT_EQ(codeFor(' '), " ");
  EXPECT_FALSE(codeFor(']'));
  EXPECT_FALSE(codeFor('a'));  // the keyers upper-case first
  EXPECT_FALSE(codeFor('\x1f'));
  EXPECT_FALSE(codeFor('\xc3'));
  EXPECT_EQ(toUpperAscii('z'), 'Z');
  EXPECT_EQ(toUpperAscii('{'), '{');
  // Every entry but the blank is a run of dots and dashes.
  for (char c = '!'; c <= '\\'; ++c) {
    const auto code = codeFor(c);
    ASSERT_TRUE(code) << c;
    EXPECT_EQ(code->find_first_not_of("._"), std::string_view::npos) << c;
  }
}

}  // namespace
}  // namespace morse
