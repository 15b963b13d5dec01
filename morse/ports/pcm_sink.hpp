// Where the sound backend's samples go: 16-bit mono PCM played at the sink's rate. The real sink
// is an ALSA playback device; tests capture the samples instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace morse {

class PcmSink {
 public:
  virtual ~PcmSink() = default;
  virtual uint32_t sampleRate() const = 0;
  // Plays the samples; blocks while the device's buffer is full. False when the device has
  // failed for good (unplugged).
  virtual bool play(const int16_t *samples, size_t count) = 0;
  // Returns once what was played has been heard.
  virtual void drain() = 0;
};

// An ALSA playback device (a name such as "default" or "hw:1"), with a few milliseconds of
// buffer so that the sidetone follows the key closely. Null, with the reason in `error`, when it
// cannot be opened (or the library was built without ALSA).
std::unique_ptr<PcmSink> openAlsaSink(const std::string &device, std::string &error);

}  // namespace morse
