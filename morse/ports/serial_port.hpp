// Keying through a serial port's modem-control lines, as a USB serial adapter offers them: the
// keying line (DTR or RTS) is asserted while the key is down; with PTT, the other line is
// asserted from the first key-down until the keyer stands by with the key up (the call ends, or
// it waits for typing). Writes to the parallel port's control register at base + 2 are what it carries:
// bit 3 clear is key down, as on the parallel port. Both lines are released when it closes.
//
// The line changes go through ModemLines, so that the keying logic runs in tests against a
// fake; the real one is the TIOCMBIS / TIOCMBIC / TIOCMGET ioctls of an open tty.
#pragma once

#include <memory>
#include <string>

#include "ports/port_backend.hpp"

namespace morse {

class ModemLines {
 public:
  virtual ~ModemLines() = default;
  // Each returns 0, or the errno of the failure. `bits` are TIOCM_DTR / TIOCM_RTS.
  virtual int assertLines(int bits) = 0;
  virtual int releaseLines(int bits) = 0;
  virtual int readLines(int &bits) = 0;
};

// The serial backend over any modem lines. Fails (saying why, with the device's name) when the
// lines cannot be read or released: a device that does not have them.
BackendOpening makeSerialKeyer(std::unique_ptr<ModemLines> lines, const SerialSettings &settings,
                               uint16_t keyingBase);

}  // namespace morse
