// Renders the sound timeline of the simulation as audio: the keying line as a sidetone (key
// down = tone) and the speaker at its programmed frequency, mixed into one mono track.
//
// Every tone starts and ends with a raised-cosine edge, so the audio has no clicks. An edge
// starts at its event and crosses half amplitude edgeMs/2 later, the same for rise and fall, so
// each tone measured at half amplitude lasts exactly as long as the event log says. Silences
// longer than maxSilenceMs (between host calls, say) are shortened to that length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ports/port_recorder.hpp"
#include "ports/tone_voice.hpp"

namespace morse {

struct WavOptions {
  uint32_t sampleRate = 16000;
  uint32_t sidetoneHz = 600;
  double edgeMs = kToneEdgeMs;
  double leadMs = 100.0;  // silence before the first sound
  double tailMs = 100.0;  // silence after the last change
  double maxSilenceMs = 3000.0;
};

// 16-bit samples. Speaker tones at or above half the sample rate cannot be represented and are
// left silent.
std::vector<int16_t> renderSounds(const std::vector<SoundState> &sounds, const WavOptions &options);

// A RIFF/WAVE file: PCM, 16 bits, one channel.
std::vector<uint8_t> encodeWav(const std::vector<int16_t> &samples, uint32_t sampleRate);

// Writes through a temporary file in the same folder and renames it over the target, so a
// reader never sees half a file. Returns an empty string or the error.
std::string writeFileReplacing(const std::string &path, const std::vector<uint8_t> &bytes);

}  // namespace morse
