#include "ports/wav_render.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace morse {
namespace {

// The speaker sounds at its frequency with raised-cosine edges (no step larger than the sine's
// own, where a click would jump by the whole amplitude); a minute's silence shrinks to three
// seconds; a tone above half the sample rate is left silent rather than aliased.
TEST(WavRender, SpeakerToneEdgesAndSilences) {
  const WavOptions o;
  const auto samples = renderSounds(
      {{0, false, 1000}, {100'000, false, 0}, {60'000'000, false, 1000}, {60'100'000, false, 0}},
      o);
  EXPECT_LT(static_cast<double>(samples.size()) / o.sampleRate, 3.5);
  int crossings = 0;  // two a period, within the first tone after the lead and the edge
  const size_t from = static_cast<size_t>(0.12 * o.sampleRate);
  for (size_t i = from + 1; i < from + o.sampleRate / 20; ++i) {
    crossings += (samples[i - 1] < 0) != (samples[i] < 0);
  }
  EXPECT_NEAR(crossings, 100, 2);
  const double amplitude = 0.45 * 32767;
  double peak = 0;
  for (size_t i = 1; i < samples.size(); ++i) {
    EXPECT_LE(std::abs(samples[i] - samples[i - 1]), amplitude * 2 * M_PI * 1000 / 16000 + 2);
    peak = std::max(peak, std::abs(static_cast<double>(samples[i])));
  }
  EXPECT_GT(peak, amplitude * 0.95);
  EXPECT_EQ(samples.front(), 0);
  EXPECT_EQ(samples.back(), 0);
  for (int16_t s : renderSounds({{0, false, 20000}, {50'000, false, 0}}, o)) EXPECT_EQ(s, 0);
}

}  // namespace
}  // namespace morse
