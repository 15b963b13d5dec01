// The sound backend's samples to an ALSA playback device.
#include "ports/pcm_sink.hpp"

#ifdef MORSE_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace morse {

#ifdef MORSE_HAVE_ALSA
namespace {

constexpr uint32_t kSampleRate = 48000;
// The device's buffer: how far the sound lags behind the key. Short enough not to be heard as
// a delay, long enough not to run dry when the system is busy.
constexpr unsigned kLatencyMicros = 20000;

// ALSA reports its own trouble on the standard error stream; the library says what failed once,
// through the host, instead.
void quiet(const char *, int, const char *, int, const char *, ...) {}

class AlsaSink : public PcmSink {
 public:
  explicit AlsaSink(snd_pcm_t *pcm) : pcm_(pcm) {}
  ~AlsaSink() override { snd_pcm_close(pcm_); }

  uint32_t sampleRate() const override { return kSampleRate; }

  bool play(const int16_t *samples, size_t count) override {
    while (count > 0) {
      snd_pcm_sframes_t written = snd_pcm_writei(pcm_, samples, count);
      if (written < 0) {
        // An underrun (the system was busy) or a suspend: start again; anything else is final.
        if (snd_pcm_recover(pcm_, static_cast<int>(written), 1) < 0) return false;
        continue;
      }
      samples += written;
      count -= static_cast<size_t>(written);
    }
    return true;
  }

  void drain() override { snd_pcm_drain(pcm_); }

 private:
  snd_pcm_t *pcm_;
};

}  // namespace

std::unique_ptr<PcmSink> openAlsaSink(const std::string &device, std::string &error) {
  snd_lib_error_set_handler(quiet);
  snd_pcm_t *pcm = nullptr;
  int err = snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, 0);
  if (err == 0) {
    err = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kSampleRate,
                             1, kLatencyMicros);
    if (err != 0) snd_pcm_close(pcm);
  }
  if (err != 0) {
    error = "sound: " + device + ": " + snd_strerror(err);
    return nullptr;
  }
  return std::make_unique<AlsaSink>(pcm);
}
#else
std::unique_ptr<PcmSink> openAlsaSink(const std::string &, std::string &error) {
  error = "sound: built without ALSA";
  return nullptr;
}
#endif

}  // namespace morse
