// A Morse decoder for the test suite: reads a WAV file back to text, so that tests can check
// what the simulation sounded rather than what the keyer believes it did.
//
// The tone envelope is found by rectifying and averaging over a few milliseconds and cutting at
// half the loudest level; tone and silence runs are then classed by length: tones against the
// shortest run (one unit), silences by clustering into element, character and word gaps.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morse::test {

struct Wav {
  uint32_t sampleRate = 0;
  std::vector<int16_t> samples;
};

// PCM 16-bit mono only; nullopt for anything else or a malformed file.
std::optional<Wav> parseWav(const std::vector<uint8_t> &bytes);
std::optional<Wav> readWavFile(const std::string &path);

struct ToneRun {
  bool tone;
  double ms;
};

// Tone and silence runs from the first tone to the last (the silences around them carry no
// symbols).
std::vector<ToneRun> detectTones(const Wav &wav);
// The silence at the end, in ms, after the last sample that is not 0.
double trailingSilenceMs(const Wav &wav);
std::string decodeRuns(const std::vector<ToneRun> &runs);
std::string decodeWav(const Wav &wav);

}  // namespace morse::test
