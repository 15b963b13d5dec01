// A software model of the three PC devices the keyer drives: the parallel port's registers, the
// interval timer's channel 2 and the speaker gate at port 0x61. It answers reads with what was
// last written and tells the two sounds that result: the keying line (key down while bit 3 of
// the control register at base + 2 is clear) and the speaker (on while gate bits 0 and 1 are
// both set and a divisor has been loaded into channel 2).
#pragma once

#include <cstdint>
#include <unordered_map>

namespace morse {

class PcDevices {
 public:
  void setKeyingBase(uint16_t base) { keyingBase_ = base; }
  uint16_t keyingBase() const { return keyingBase_; }

  void write(uint16_t port, uint8_t value);
  // The last value written to the port, 0 before any write.
  uint8_t read(uint16_t port) const;

  bool keyDown() const;
  // Frequency of the speaker tone (timer input clock / divisor, integer), 0 when silent.
  uint32_t speakerHz() const;
  // The divisor as the timer counts it (0 loaded counts as 65536).
  uint32_t divisor() const { return divisor_ == 0 ? 65536u : divisor_; }

 private:
  void writeTimerCommand(uint8_t value);
  void writeChannel2(uint8_t value);

  std::unordered_map<uint16_t, uint8_t> registers_;
  uint16_t keyingBase_ = 0x378;
  uint8_t access_ = 3;  // 1 low byte only, 2 high byte only, 3 low then high
  bool lowNext_ = true;
  uint8_t pendingLow_ = 0;
  uint16_t divisor_ = 0;
  bool loaded_ = false;
};

}  // namespace morse
