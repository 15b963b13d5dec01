#include "ports/wav_render.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ports/tone_voice.hpp"

namespace morse {
namespace {

void putLe(std::vector<uint8_t> &out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<int16_t> renderSounds(const std::vector<SoundState> &sounds, const WavOptions &o) {
  std::vector<int16_t> samples;
  if (sounds.empty() || o.sampleRate == 0) return samples;
  const double rate = o.sampleRate;
  const double dt = 1e6 / rate;  // microseconds per sample
  const double edgeStep = o.edgeMs > 0 ? dt / (o.edgeMs * 1000.0) : 1.0;
  const double maxSilence = o.maxSilenceMs * 1000.0;
  const double nyquist = rate / 2.0;

  double base = static_cast<double>(sounds.front().micros) - o.leadMs * 1000.0;
  const double end = static_cast<double>(sounds.back().micros) + (o.tailMs + o.edgeMs) * 1000.0;
  ToneVoice sidetone;
  sidetone.hz = o.sidetoneHz;
  ToneVoice speaker;
  bool keyOn = false;
  bool speakerOn = false;
  size_t next = 0;
  for (uint64_t i = 0;; ++i) {
    double t = base + static_cast<double>(i) * dt;
    if (t >= end) break;
    while (next < sounds.size() && static_cast<double>(sounds[next].micros) <= t) {
      keyOn = sounds[next].keyDown;
      const uint32_t hz = sounds[next].speakerHz;
      speakerOn = hz != 0 && hz < nyquist;
      if (speakerOn) speaker.hz = hz;
      ++next;
    }
    if (!keyOn && !speakerOn && sidetone.silent() && speaker.silent() && next < sounds.size()) {
      const double until = static_cast<double>(sounds[next].micros) - t;
      if (until > maxSilence) {
        base += std::floor((until - maxSilence) / dt) * dt;
        t = base + static_cast<double>(i) * dt;
      }
    }
    const double mix =
        sidetone.next(keyOn, edgeStep, rate) + speaker.next(speakerOn, edgeStep, rate);
    samples.push_back(static_cast<int16_t>(std::lround(kVoiceAmplitude * mix)));
  }
  return samples;
}

std::vector<uint8_t> encodeWav(const std::vector<int16_t> &samples, uint32_t sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  const auto tag = [&out](const char *t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
  };
  tag("RIFF");
  putLe(out, 36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  putLe(out, 16, 4);
  putLe(out, 1, 2);  // PCM
  putLe(out, 1, 2);  // mono
  putLe(out, sampleRate, 4);
  putLe(out, sampleRate * 2, 4);  // bytes per second
  putLe(out, 2, 2);               // block align
  putLe(out, 16, 2);              // bits per sample
  tag("data");
  putLe(out, dataBytes, 4);
  for (int16_t s : samples) putLe(out, static_cast<uint16_t>(s), 2);
  return out;
}

std::string writeFileReplacing(const std::string &path, const std::vector<uint8_t> &bytes) {
  const std::string temp = path + ".tmp";
  std::FILE *f = std::fopen(temp.c_str(), "wb");
  if (!f) return temp + ": " + std::strerror(errno);
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    std::remove(temp.c_str());
    return temp + ": write failed";
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string error = path + ": " + std::strerror(errno);
    std::remove(temp.c_str());
    return error;
  }
  return {};
}

}  // namespace morse
