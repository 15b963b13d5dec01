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

using test::decodeWav;
using test::detectTones;
using test::parseWav;

// Keys a text on the simulated devices and returns the recorded sounds.
std::vector<SoundState> keyedSounds(const std::string &text, KeyingSettings settings) {
  test::StepClock clock;
  test::RecordingPorts ports(clock);
  test::ScriptedHost host(clock);
  KeyerState state;
  state.settings = settings;
  state.recompute();
  SendKeyer keyer(state, ports, clock, host);
  keyer.run(text, std::nullopt);
  PortRecorder recorder;
  recorder.setKeyingBase(state.portBase, 0);
  for (const PortEvent &e : ports.events) recorder.recordWrite(e.micros, e.port, e.value);
  return recorder.sounds();
}

test::Wav roundTrip(const std::vector<SoundState> &sounds, const WavOptions &options = {}) {
  const auto wav = parseWav(encodeWav(renderSounds(sounds, options), options.sampleRate));
  EXPECT_TRUE(wav);
  return wav ? *wav : test::Wav{};
}

TEST(WavRender, KeyedTextDecodesBackAtSeveralSpeeds) {
  for (int wpm : {12, 15, 20, 30, 40}) {
    KeyingSettings s;
    s.wpm = wpm;
    EXPECT_EQ(decodeWav(roundTrip(keyedSounds("PARIS CQ DE 73", s))), "PARIS CQ DE 73") << wpm;
  }
  KeyingSettings farnsworth;
  farnsworth.wpm = 18;
  farnsworth.farnsworth = 5;
  EXPECT_EQ(decodeWav(roundTrip(keyedSounds("THE QUICK FOX", farnsworth))), "THE QUICK FOX");
  // With much Farnsworth spacing the word gap comes out negative: a blank adds nothing to the
  // (already long) character gap, and the words run together.
  farnsworth.farnsworth = 40;
  EXPECT_EQ(decodeWav(roundTrip(keyedSounds("THE QUICK FOX", farnsworth))), "THEQUICKFOX");
}

TEST(WavRender, TonesLastAsLongAsTheirEventsAtHalfAmplitude) {
  const std::vector<SoundState> sounds = {
      {1'000'000, true, 0}, {1'088'000, false, 0}, {1'176'000, true, 0}, {1'440'000, false, 0}};
  const auto runs = detectTones(roundTrip(sounds));
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_NEAR(runs[0].ms, 88, 0.5);
  EXPECT_NEAR(runs[1].ms, 88, 0.5);
  EXPECT_NEAR(runs[2].ms, 264, 0.5);
}

TEST(WavRender, EdgesAreRaisedCosinesWithoutClicks) {
  const std::vector<SoundState> sounds = {{0, true, 0}, {50'000, false, 0}};
  WavOptions o;
  const auto samples = renderSounds(sounds, o);
  // A full-scale step would jump by the whole amplitude; a 600 Hz sine moves at most
  // A * 2 * pi * 600 / 16000 per sample.
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
  const std::vector<SoundState> sounds = {
      {0, false, 1000}, {100'000, false, 0}, {60'000'000, false, 1000}, {60'100'000, false, 0}};
  WavOptions o;
  const auto samples = renderSounds(sounds, o);
  const double seconds = static_cast<double>(samples.size()) / o.sampleRate;
  EXPECT_LT(seconds, 3.5);  // one minute of silence shrank to three seconds
  // Zero crossings within the first tone: 2 per period.
  int crossings = 0;
  const size_t from = static_cast<size_t>(0.12 * o.sampleRate);  // after the lead and the edge
  const size_t to = from + o.sampleRate / 20;                    // 50 ms
  for (size_t i = from + 1; i < to; ++i) {
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
  }
  EXPECT_NEAR(crossings, 100, 2);
  // Speaker tones above half the sample rate are left silent rather than aliased.
  const auto high = renderSounds({{0, false, 20000}, {50'000, false, 0}}, o);
  for (int16_t s : high) EXPECT_EQ(s, 0);
}

}  // namespace
}  // namespace morse
