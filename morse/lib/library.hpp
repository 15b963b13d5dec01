// The loaded library's one instance: the keyer's state and settings, and the port layer, which
// is opened at the first port access and closed when the library unloads.
#pragma once

#include <memory>

#include "core/keyer_state.hpp"
#include "lib/fox_adapters.hpp"
#include "ports/port_router.hpp"

namespace morse {

class Library {
 public:
  KeyerState state;
  FoxClock clock;
  FoxKeyerHost host;

  // Opens the port layer from the environment on first use and tells the operator once, through
  // the host, which backend keys, which sounds, what could not be opened, and whether keying
  // runs at real-time priority.
  PortIo &ports();
  void setPortBase(uint16_t base);
  // Ends a host call: the port layer stands by (PTT off), and learns the word space of the
  // keying settings for the end of its WAV.
  void endCall();
  // The word space of an announcement's own timing, for the same.
  void noteWordSpace(int32_t ms);

 private:
  std::unique_ptr<PortRouter> router_;
};

Library &library();

// Stands the port layer by when a host-callable function returns or unwinds.
class CallScope {
 public:
  CallScope() = default;
  ~CallScope() { library().endCall(); }
  CallScope(const CallScope &) = delete;
  CallScope &operator=(const CallScope &) = delete;
};

}  // namespace morse
