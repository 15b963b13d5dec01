// A hardware backend of the port layer: serves the ports it claims, for as long as it lives.
// Opening one either gives a working backend or says why it cannot.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ports/ports_config.hpp"

namespace morse {

class PortBackend {
 public:
  virtual ~PortBackend() = default;
  // Whether this backend carries accesses to the port (with the present keying base).
  virtual bool claims(uint16_t port) = 0;
  virtual void out(uint16_t port, uint8_t value) = 0;
  virtual uint8_t in(uint16_t port) = 0;
  virtual void setKeyingBase(uint16_t /*base*/) {}
  // The keying line went down or up, whichever backend carries it (for a sidetone).
  virtual void keyLineChanged(bool /*down*/) {}
  // Nothing more to key for now (a call ended, or the keyer waits for typing).
  virtual void standBy() {}
  // Whether it carries the keying line / the speaker, and what it is, for telling the operator.
  virtual bool keys() const = 0;
  virtual bool sounds() const = 0;
  virtual std::string description() const = 0;
};

struct BackendOpening {
  std::unique_ptr<PortBackend> backend;  // null on failure
  std::string error;                     // why it could not open
};

// ioperm/outb on x86 (root or CAP_SYS_RAWIO); every port, including OUT_P's.
BackendOpening openDirectPorts(uint16_t keyingBase);
// Why the direct backend could not reach `port`: the error's text and name, and the rights it
// needs when it was refused them.
std::string directAccessError(uint16_t port, int error);
// The kernel's parallel port driver. `device` empty: the /dev/parportN whose base address is
// the keying base, else /dev/parport0.
BackendOpening openPpdevPort(const std::string &device, uint16_t keyingBase);
// The kernel's PC-speaker input device (SND_TONE). `device` empty: found among /dev/input.
BackendOpening openPcSpeaker(const std::string &device);
// A modem-control line of a serial port as the keying line (see serial_port.hpp).
BackendOpening openSerialPort(const SerialSettings &settings, uint16_t keyingBase);
// The sound card through ALSA: the speaker's tones and a sidetone (see sound_card.hpp).
BackendOpening openSoundCard(const SoundSettings &settings);

}  // namespace morse
