// One tone source for the rendered sounds: a sine oscillator behind a raised-cosine envelope, so
// that a tone starts and stops without a click. An edge starts at the change and crosses half
// amplitude halfway through, the same for rise and fall, so a tone measured at half amplitude
// lasts as long as it was on.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morse {

// Each source at this share of full scale: two together stay below it.
inline constexpr double kVoiceAmplitude = 0.45 * 32767.0;
inline constexpr double kToneEdgeMs = 4.0;

struct ToneVoice {
  double edge = 0;   // 0..1 position on the raised-cosine edge
  double phase = 0;  // radians
  double hz = 0;     // the frequency sounding (kept while fading out)

  bool silent() const { return edge <= 0; }

  // The next sample, -1..1; `edgeStep` is the share of an edge one sample covers.
  double next(bool on, double edgeStep, double sampleRate) {
    edge = on ? std::min(1.0, edge + edgeStep) : std::max(0.0, edge - edgeStep);
    const double envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * edge);
    const double value = envelope * std::sin(phase);
    phase = std::fmod(phase + 2.0 * std::numbers::pi * hz / sampleRate, 2.0 * std::numbers::pi);
    return value;
  }
};

}  // namespace morse
