// Keying settings and the durations derived from them.
//
// All durations are whole milliseconds (32-bit). Each step of the recomputation is computed in
// double precision from integers and truncated toward zero; a word gap may come out negative,
// which the timed wait treats as no wait at all.
#pragma once

#include <cstdint>

#include "core/constants.hpp"

namespace morse {

// Library-wide settings as their setters stored them; no setter checks its value.
struct KeyingSettings {
  int32_t wpm = kDefaultWpm;
  double weight = 0;               // percent; set from an integer, reported truncated
  int32_t farnsworth = 0;          // percent, read as unsigned 32-bit
  int32_t speedAdjust = 0;         // percent
  int32_t elementGapAdjust = 0;    // percent
  int32_t characterGapAdjust = 0;  // percent
  int32_t wordGapAdjust = 0;       // percent
};

struct Durations {
  int32_t dot = 0;
  int32_t dash = 0;
  int32_t elementGap = 0;
  int32_t characterGap = 0;
  int32_t wordGap = 0;

  bool operator==(const Durations &) const = default;
};

// The silence a blank makes between two words: the character gap, then the word gap (which
// adds nothing when it came out negative).
inline int32_t wordSpaceMs(const Durations &d) {
  return d.characterGap + (d.wordGap > 0 ? d.wordGap : 0);
}

// The keying durations of the sending engine.
//
// Guards where the raw arithmetic fails: a speed below 1 WPM is computed as 1 WPM (no division by
// zero; the stored setting is left as given), a division by zero or an overflowing product is
// bounded, and every result lies within +-kMaxDurationMs.
Durations computeDurations(const KeyingSettings &settings);

// The announcement variant: the call's own speed, weight and Farnsworth with the library-wide
// gap adjusts; no speed adjust step and no 0.85 factor in the character gap. Farnsworth is read
// as unsigned like the library-wide one.
Durations computeAnnouncementDurations(int32_t wpm, double weight, int32_t farnsworth,
                                       const KeyingSettings &adjusts);

}  // namespace morse
