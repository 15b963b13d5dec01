// Records the timeline of the two sounds (keying line, speaker) that the keyer's port writes
// produce on the emulated devices, for the simulation's WAV; and formats a write for its event
// log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ports/pc_devices.hpp"

namespace morse {

struct PortEvent {
  uint64_t micros;
  uint16_t port;
  uint8_t value;
};

// The state of both sounds from `micros` on.
struct SoundState {
  uint64_t micros;
  bool keyDown;
  uint32_t speakerHz;  // 0 silent
};

// One line of the event log: time in milliseconds with three decimals, port and value in hex,
// e.g. "1234.567 0x37a 0x01".
std::string formatEvent(const PortEvent &event);
inline constexpr const char *kEventLogHeader = "# time_ms port value";

class PortRecorder {
 public:
  // Keeps at most `maxSounds` sound changes; later ones are counted as dropped.
  explicit PortRecorder(size_t maxSounds = size_t{1} << 22) : maxSounds_(maxSounds) {}

  void setKeyingBase(uint16_t base, uint64_t micros);
  void recordWrite(uint64_t micros, uint16_t port, uint8_t value);

  const std::vector<SoundState> &sounds() const { return sounds_; }
  size_t droppedSounds() const { return dropped_; }

 private:
  void noteSound(uint64_t micros);

  PcDevices devices_;
  std::vector<SoundState> sounds_;
  size_t maxSounds_;
  size_t dropped_ = 0;
};

}  // namespace morse
