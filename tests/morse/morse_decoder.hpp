// Reads a WAV back to text: the rectified signal averaged over 3 ms, cut at half its peak; a tone
// under two of the shortest run is a dot, a silence over 1.5 of it ends a character, and one over
// 1.25 of the shortest such silence ends a word.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morse::test {

// A stretch of key down or tone (on), or of key up or silence.
struct Stretch {
  bool on;
  double ms;
};

struct Wav {
  uint32_t sampleRate = 0;
  std::vector<int16_t> samples;
};

// The layout the simulation writes: a 44-byte header (PCM, mono, 16 bits), then all the samples;
// nullopt for anything else, a truncated file or none.
std::optional<Wav> readWavFile(const std::string &path);
// Tone and silence runs from the first tone to the last.
std::vector<Stretch> detectTones(const Wav &wav);
std::string decodeWav(const Wav &wav);

}  // namespace morse::test
