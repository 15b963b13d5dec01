#include "core/timing.hpp"

#include <cmath>

namespace morse {
namespace {

// trunc toward zero into the bounded duration range; NaN (0/0) counts as 0.
int32_t truncBounded(double x) {
  if (std::isnan(x)) return 0;
  const double t = std::trunc(x);
  if (t > kMaxDurationMs) return kMaxDurationMs;
  if (t < -kMaxDurationMs) return -kMaxDurationMs;
  return static_cast<int32_t>(t);
}

double percentFactor(double percent) { return 1.0 + percent / 100.0; }

double farnsworthPercent(int32_t farnsworth) {
  return static_cast<double>(static_cast<uint32_t>(farnsworth));
}

// Steps 1 and 2: the unit before the speed adjust.
int32_t baseUnit(int32_t wpm, int32_t farnsworth) {
  const int32_t t = kDotUnitsPerWpm / (wpm < 1 ? 1 : wpm);
  return truncBounded(t / percentFactor(farnsworthPercent(farnsworth)));
}

// Steps 4 to 6 and 8 from the unit D; the character gap (step 7) differs between the variants.
struct Elements {
  int32_t dot;
  int32_t dash;
  int32_t elementGap;
};

Elements elementsFromUnit(int32_t d, double weight, int32_t elementGapAdjust) {
  Elements e{};
  const double w = percentFactor(weight);
  e.dash = truncBounded(3.0 * d * w);
  e.dot = truncBounded(d / w);
  e.elementGap = truncBounded(e.dot * percentFactor(elementGapAdjust));
  return e;
}

int32_t wordGap(int32_t dash, int32_t wordGapAdjust, int32_t characterGap) {
  return truncBounded(kWordGapFactor * dash * percentFactor(wordGapAdjust) - characterGap);
}

double farnsworthCharacterFactor(int32_t farnsworth) {
  return 1.0 + farnsworthPercent(farnsworth) / kFarnsworthCharacterDivisor;
}

}  // namespace

Durations computeDurations(const KeyingSettings &s) {
  const int32_t a = baseUnit(s.wpm, s.farnsworth);
  const int32_t d = truncBounded(a * (1.0 - s.speedAdjust / 100.0));
  const Elements e = elementsFromUnit(d, s.weight, s.elementGapAdjust);
  Durations out;
  out.dot = e.dot;
  out.dash = e.dash;
  out.elementGap = e.elementGap;
  const int32_t spread =
      truncBounded(kCharacterGapFactor * e.dash * farnsworthCharacterFactor(s.farnsworth));
  out.characterGap = truncBounded(spread * percentFactor(s.characterGapAdjust));
  out.wordGap = wordGap(e.dash, s.wordGapAdjust, out.characterGap);
  return out;
}

Durations computeAnnouncementDurations(int32_t wpm, double weight, int32_t farnsworth,
                                       const KeyingSettings &adjusts) {
  const int32_t d = baseUnit(wpm, farnsworth);
  const Elements e = elementsFromUnit(d, weight, adjusts.elementGapAdjust);
  Durations out;
  out.dot = e.dot;
  out.dash = e.dash;
  out.elementGap = e.elementGap;
  const int32_t spread = truncBounded(e.dash * farnsworthCharacterFactor(farnsworth));
  out.characterGap = truncBounded(spread * percentFactor(adjusts.characterGapAdjust));
  out.wordGap = wordGap(e.dash, adjusts.wordGapAdjust, out.characterGap);
  return out;
}

}  // namespace morse
