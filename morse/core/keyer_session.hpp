// What CW_SEND and CW_KBD share: keying codes on the parallel port, echoing to host objects,
// and the speed step. One session object lives for one host call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/host_commands.hpp"
#include "core/keyer_host.hpp"
#include "core/keyer_state.hpp"
#include "core/timed_wait.hpp"
#include "ports/port_io.hpp"

namespace morse {

// Returned by CW_SEND.
enum class SendResult : int32_t { Finished = 0, Stopped = 1, Paused = 2 };

class KeyerSession {
 public:
  KeyerSession(KeyerState &state, PortIo &ports, Clock &clock, KeyerHost &host)
      : state_(state), ports_(ports), clock_(clock), host_(host) {}
  virtual ~KeyerSession() = default;
  KeyerSession(const KeyerSession &) = delete;
  KeyerSession &operator=(const KeyerSession &) = delete;

 protected:
  // The waits of one keyer: CW_SEND spins, CW_KBD reads the keyboard during long waits.
  virtual void wait(int32_t durationMs) = 0;

  // Keys the symbols of a code (or of two codes joined into one sign) with element gaps
  // between them. The key is left up on every path, errors of the host included.
  void keySign(std::string_view code);

  void echo(uint32_t object, char c) { host_.appendText(object, std::string_view(&c, 1)); }

  // Applies the pending speed request: true when the speed changed, false when a slower step
  // would go below the floor of 5 WPM (or beyond the integer range) and nothing changed.
  bool stepSpeed();
  void showSpeed() { host_.execute(kShowSpeedCommand); }

  KeyerState &state_;
  PortIo &ports_;
  Clock &clock_;
  KeyerHost &host_;

 private:
  void keyDown();
  void keyUp();
};

}  // namespace morse
