// Direct port I/O with ioperm/iopl: the machine's own registers, as the keyer addresses them.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/constants.hpp"
#include "ports/port_backend.hpp"

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define MORSE_HAVE_PORT_IO 1
#endif

namespace morse {

std::string directAccessError(uint16_t port, int error) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%x", static_cast<unsigned>(port));
  const char *name = strerrorname_np(error);
  std::string message = std::string("direct: no access to I/O port ") + hex + ": " +
                        std::strerror(error) + " (" + (name ? name : "?") + ")";
  // Only a refusal is about rights; ENOSYS and the like mean the kernel offers no port I/O.
  if (error == EPERM || error == EACCES) message += "; needs root or CAP_SYS_RAWIO";
  return message;
}

#ifdef MORSE_HAVE_PORT_IO
namespace {

constexpr uint16_t kIopermLimit = 0x400;  // ioperm covers ports below this; iopl the rest

class DirectPorts : public PortBackend {
 public:
  bool claims(uint16_t port) override { return grant(port); }
  void out(uint16_t port, uint8_t value) override {
    if (grant(port)) outb(value, port);
  }
  uint8_t in(uint16_t port) override { return grant(port) ? inb(port) : 0; }
  bool keys() const override { return true; }
  bool sounds() const override { return true; }
  std::string description() const override { return "direct port I/O"; }

  // Asks the kernel for access to one port once; remembers the answer.
  bool grant(uint16_t port) {
    State &s = state_[port];
    if (s == State::Unknown) {
      const bool ok = port < kIopermLimit ? ioperm(port, 1, 1) == 0 : (iopl(3) == 0);
      s = ok ? State::Granted : State::Refused;
    }
    return s == State::Granted;
  }

 private:
  enum class State : uint8_t { Unknown, Granted, Refused };
  std::vector<State> state_ = std::vector<State>(65536, State::Unknown);
};

}  // namespace

BackendOpening openDirectPorts(uint16_t keyingBase) {
  auto ports = std::make_unique<DirectPorts>();
  const uint16_t needed[] = {static_cast<uint16_t>(keyingBase + kControlRegisterOffset),
                             kTimerChannel2Port, kTimerCommandPort, kSpeakerGatePort};
  for (uint16_t port : needed) {
    if (!ports->grant(port)) return {nullptr, directAccessError(port, errno)};
  }
  return {std::move(ports), {}};
}
#else
BackendOpening openDirectPorts(uint16_t) {
  return {nullptr, "direct: port I/O exists only on x86"};
}
#endif

}  // namespace morse
