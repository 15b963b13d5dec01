#include "ports/sound_card.hpp"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "core/constants.hpp"
#include "ports/pc_devices.hpp"
#include "ports/tone_voice.hpp"

namespace morse {
namespace {

class SoundCard : public PortBackend {
 public:
  SoundCard(std::unique_ptr<PcmSink> sink, uint32_t sidetoneHz, std::string description)
      : sink_(std::move(sink)), sidetoneHz_(sidetoneHz), description_(std::move(description)) {
    // Signals belong to the host's thread: there they wake the keyer's sleep.
    sigset_t all;
    sigset_t old;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &old);
    player_ = std::thread([this] { play(); });
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
  }

  // Lets the sounds fade out and be heard to the end.
  ~SoundCard() override {
    closing_ = true;
    player_.join();
  }

  bool claims(uint16_t port) override {
    return port == kTimerChannel2Port || port == kTimerCommandPort || port == kSpeakerGatePort;
  }
  void out(uint16_t port, uint8_t value) override {
    devices_.write(port, value);
    speakerHz_ = devices_.speakerHz();
  }
  uint8_t in(uint16_t port) override { return devices_.read(port); }
  void keyLineChanged(bool down) override { keyDown_ = down; }

  bool keys() const override { return false; }
  bool sounds() const override { return true; }
  std::string description() const override { return description_; }

 private:
  void play() {
    const double rate = sink_->sampleRate();
    const size_t chunk = std::max<size_t>(1, static_cast<size_t>(rate * kSoundChunkMicros / 1e6));
    const double edgeStep = 1000.0 / (kToneEdgeMs * rate);
    std::vector<int16_t> samples(chunk);
    ToneVoice sidetone;
    sidetone.hz = sidetoneHz_;
    ToneVoice speaker;
    for (;;) {
      const bool closing = closing_;
      const bool keyOn = !closing && sidetoneHz_ != 0 && keyDown_;
      const uint32_t hz = closing ? 0 : speakerHz_.load();
      const bool speakerOn = hz != 0 && hz < rate / 2;  // above: cannot be played, left silent
      if (speakerOn) speaker.hz = hz;
      if (closing && sidetone.silent() && speaker.silent()) break;
      for (int16_t &s : samples) {
        const double mix =
            sidetone.next(keyOn, edgeStep, rate) + speaker.next(speakerOn, edgeStep, rate);
        s = static_cast<int16_t>(std::lround(kVoiceAmplitude * mix));
      }
      if (!sink_->play(samples.data(), samples.size())) return;  // the device is gone
    }
    sink_->drain();
  }

  std::unique_ptr<PcmSink> sink_;
  const uint32_t sidetoneHz_;
  const std::string description_;
  PcDevices devices_;  // the host's thread only
  std::atomic<uint32_t> speakerHz_{0};
  std::atomic<bool> keyDown_{false};
  std::atomic<bool> closing_{false};
  std::thread player_;  // last: starts once everything it reads exists
};

}  // namespace

std::unique_ptr<PortBackend> makeSoundCard(std::unique_ptr<PcmSink> sink, uint32_t sidetoneHz,
                                           std::string description) {
  return std::make_unique<SoundCard>(std::move(sink), sidetoneHz, std::move(description));
}

BackendOpening openSoundCard(const SoundSettings &settings) {
  std::string error;
  std::unique_ptr<PcmSink> sink = openAlsaSink(settings.device, error);
  if (!sink) return {nullptr, error};
  std::string description = "sound card " + settings.device;
  if (settings.sidetoneHz != 0) {
    description += " (sidetone " + std::to_string(settings.sidetoneHz) + " Hz)";
  }
  return {makeSoundCard(std::move(sink), settings.sidetoneHz, std::move(description)), {}};
}

}  // namespace morse
