// A hardware backend of the port layer: serves the ports it claims, for as long as it lives.
// Opening one either gives a working backend or says why it cannot.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace morse {

class PortBackend {
 public:
  virtual ~PortBackend() = default;
  // Whether this backend carries accesses to the port (with the present keying base).
  virtual bool claims(uint16_t port) = 0;
  virtual void out(uint16_t port, uint8_t value) = 0;
  virtual uint8_t in(uint16_t port) = 0;
  virtual void setKeyingBase(uint16_t /*base*/) {}
  // Whether it carries the keying line / the speaker (for telling what stays simulated).
  virtual bool keysParallelPort() const = 0;
  virtual bool soundsSpeaker() const = 0;
};

struct BackendOpening {
  std::unique_ptr<PortBackend> backend;  // null on failure
  std::string error;                     // why it could not open
};

// ioperm/outb on x86 (root or CAP_SYS_RAWIO); every port, including OUT_P's.
BackendOpening openDirectPorts(uint16_t keyingBase);
// The kernel's parallel port driver. `device` empty: the /dev/parportN whose base address is
// the keying base, else /dev/parport0.
BackendOpening openPpdevPort(const std::string &device, uint16_t keyingBase);
// The kernel's PC-speaker input device (SND_TONE). `device` empty: found among /dev/input.
BackendOpening openPcSpeaker(const std::string &device);

}  // namespace morse
