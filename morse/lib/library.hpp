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
  // the host, what hardware is missing.
  PortIo &ports();
  void setPortBase(uint16_t base);
  // Ends a host call: brings the simulation's event log up to date.
  void endCall();

 private:
  std::unique_ptr<PortRouter> router_;
};

Library &library();

// Brings the event log up to date when a host-callable function returns or unwinds.
class CallScope {
 public:
  CallScope() = default;
  ~CallScope() { library().endCall(); }
  CallScope(const CallScope &) = delete;
  CallScope &operator=(const CallScope &) = delete;
};

}  // namespace morse
