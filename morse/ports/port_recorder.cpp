#include "ports/port_recorder.hpp"

#include <cstdio>

namespace morse {

std::string formatEvent(const PortEvent &e) {
  char line[64];
  std::snprintf(line, sizeof line, "%llu.%03u 0x%03x 0x%02x",
                static_cast<unsigned long long>(e.micros / 1000u),
                static_cast<unsigned>(e.micros % 1000u), static_cast<unsigned>(e.port),
                static_cast<unsigned>(e.value));
  return line;
}

void PortRecorder::setKeyingBase(uint16_t base, uint64_t micros) {
  devices_.setKeyingBase(base);
  noteSound(micros);
}

void PortRecorder::recordWrite(uint64_t micros, uint16_t port, uint8_t value) {
  devices_.write(port, value);
  noteSound(micros);
}

void PortRecorder::noteSound(uint64_t micros) {
  const SoundState now{micros, devices_.keyDown(), devices_.speakerHz()};
  if (!sounds_.empty() && sounds_.back().keyDown == now.keyDown &&
      sounds_.back().speakerHz == now.speakerHz) {
    return;
  }
  if (sounds_.empty() && !now.keyDown && now.speakerHz == 0) return;  // silence before any sound
  if (sounds_.size() >= maxSounds_) {
    ++dropped_;
    return;
  }
  sounds_.push_back(now);
}

}  // namespace morse
