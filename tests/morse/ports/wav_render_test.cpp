#include "ports/wav_render.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "core/send_keyer.hpp"
#include "fakes.hpp"
#include "morse_decoder.hpp"
#include "ports/port_recorder.hpp"

namespace morse {
namespace {

// Keys a text on the simulated devices, renders what was recorded, and reads the WAV back.
test::Wav keyedWav(const std::string &text, int32_t wpm, int32_t farnsworth = 0) {
  test::KeyerRig rig(wpm, farnsworth);
  SendKeyer(rig.state, rig.ports, rig.clock, rig.host).run(text, std::nullopt);
  PortRecorder recorder;
  recorder.setKeyingBase(rig.state.portBase, 0);
  for (const PortEvent &e : rig.ports.events) recorder.recordWrite(e.micros, e.port, e.value);
  const auto wav =
      test::parseWav(encodeWav(renderSounds(recorder.sounds(), {}), WavOptions{}.sampleRate));
  EXPECT_TRUE(wav);
  return wav.value_or(test::Wav{});
}

// With much Farnsworth spacing the word gap comes out negative: a blank adds nothing to the
// (already long) character gap, and the words run together.
TEST(WavRender, KeyedTextDecodesBackAtSeveralSpeeds) {
  for (const int wpm : {12, 20, 40}) {
    EXPECT_EQ(test::decodeWav(keyedWav("PARIS CQ DE 73", wpm)), "PARIS CQ DE 73") << wpm;
  }
  EXPECT_EQ(test::decodeWav(keyedWav("THE QUICK FOX", 18, 5)), "THE QUICK FOX");
  EXPECT_EQ(test::decodeWav(keyedWav("THE QUICK FOX", 18, 40)), "THEQUICKFOX");
  const auto runs = test::detectTones(keyedWav("A", 15));  // tones as long as their events
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_NEAR(runs[0].ms, 88, 0.5);
  EXPECT_NEAR(runs[1].ms, 88, 0.5);
  EXPECT_NEAR(runs[2].ms, 264, 0.5);
}

// Raised-cosine edges: a 600 Hz sine moves at most A * 2 * pi * 600 / 16000 per sample, where a
// click would jump by the whole amplitude.
TEST(WavRender, EdgesAreRaisedCosinesWithoutClicks) {
  const WavOptions o;
  const auto samples = renderSounds({{0, true, 0}, {50'000, false, 0}}, o);
  const double amplitude = 0.45 * 32767;
  const double maxStep = amplitude * 2 * M_PI * o.sidetoneHz / o.sampleRate;
  double peak = 0;
  for (size_t i = 1; i < samples.size(); ++i) {
    EXPECT_LE(std::abs(samples[i] - samples[i - 1]), maxStep + 2) << i;
    peak = std::max(peak, std::abs(static_cast<double>(samples[i])));
  }
  EXPECT_GT(peak, amplitude * 0.95);
  EXPECT_EQ(samples.front(), 0);
  EXPECT_EQ(samples.back(), 0);
}

TEST(WavRender, SpeakerSoundsAtItsFrequencyAndLongSilencesShrink) {
  const WavOptions o;
  const auto samples = renderSounds(
      {{0, false, 1000}, {100'000, false, 0}, {60'000'000, false, 1000}, {60'100'000, false, 0}},
      o);
  EXPECT_LT(static_cast<double>(samples.size()) / o.sampleRate, 3.5);  // a minute became three s
  // Two zero crossings per period within the first tone, after the lead and the edge.
  int crossings = 0;
  const size_t from = static_cast<size_t>(0.12 * o.sampleRate);
  for (size_t i = from + 1; i < from + o.sampleRate / 20; ++i) {
    crossings += (samples[i - 1] < 0) != (samples[i] < 0);
  }
  EXPECT_NEAR(crossings, 100, 2);
  // Speaker tones above half the sample rate are left silent rather than aliased.
  for (int16_t s : renderSounds({{0, false, 20000}, {50'000, false, 0}}, o)) EXPECT_EQ(s, 0);
}

}  // namespace
}  // namespace morse
