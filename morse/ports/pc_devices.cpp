#include "ports/pc_devices.hpp"

#include "core/constants.hpp"

namespace morse {

void PcDevices::write(uint16_t port, uint8_t value) {
  registers_[port] = value;
  if (port == kTimerCommandPort) writeTimerCommand(value);
  if (port == kTimerChannel2Port) writeChannel2(value);
}

uint8_t PcDevices::read(uint16_t port) const {
  const auto it = registers_.find(port);
  return it == registers_.end() ? 0 : it->second;
}

void PcDevices::writeTimerCommand(uint8_t value) {
  if ((value >> 6) != 2) return;  // another channel
  const uint8_t access = (value >> 4) & 3;
  if (access == 0) return;  // counter latch: no change to the count
  access_ = access;
  lowNext_ = true;
  loaded_ = false;
}

void PcDevices::writeChannel2(uint8_t value) {
  switch (access_) {
    case 1:
      divisor_ = value;
      loaded_ = true;
      break;
    case 2:
      divisor_ = static_cast<uint16_t>(value << 8);
      loaded_ = true;
      break;
    default:
      if (lowNext_) {
        pendingLow_ = value;
        lowNext_ = false;
      } else {
        divisor_ = static_cast<uint16_t>(pendingLow_ | (value << 8));
        lowNext_ = true;
        loaded_ = true;
      }
      break;
  }
}

bool PcDevices::keyDown() const {
  const auto it = registers_.find(static_cast<uint16_t>(keyingBase_ + kControlRegisterOffset));
  if (it == registers_.end()) return false;  // never written: the key is up
  return (it->second & kKeyingLineBit) == 0;
}

uint32_t PcDevices::speakerHz() const {
  if (!loaded_) return 0;
  if ((read(kSpeakerGatePort) & kSpeakerGateBits) != kSpeakerGateBits) return 0;
  return static_cast<uint32_t>(kTimerInputHz) / divisor();
}

}  // namespace morse
