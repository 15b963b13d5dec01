// The narrow interface through which the keyer reaches PC I/O ports.
//
// The keyer speaks in the PC's own terms: bytes written to and read from 16-bit I/O port
// numbers (the parallel port's control register at base + 2, the interval timer's channel 2 at
// 0x42/0x43, the speaker gate at 0x61). Each backend maps those accesses onto what the machine
// offers. The keyer also tells the layer where the keying parallel port sits, because backends
// that do not see raw ports (ppdev, the simulation) must know which register is the keying one.
#pragma once

#include <cstdint>

namespace morse {

class PortIo {
 public:
  virtual ~PortIo() = default;
  virtual void out(uint16_t port, uint8_t value) = 0;
  virtual uint8_t in(uint16_t port) = 0;
  // Base I/O address of the parallel port that keys the transmitter.
  virtual void setKeyingBase(uint16_t base) = 0;
  // Nothing more to key for now (a call ended, or the keyer waits for typing): a backend that
  // holds a PTT line lets it go.
  virtual void standBy() {}
};

}  // namespace morse
