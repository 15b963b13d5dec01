// What CW_SEND and CW_KBD share: keying codes on the parallel port, echoing to host objects,
// the speed step, and stopping when the host asks. One session object lives for one host call.
//
// A stop asked by the host (Ctrl-C, the host ending) cuts the wait in progress short: the key
// goes up at once, every later wait of the session returns at once, and the keyer returns as
// its stop key would.
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
  // The waits of one keyer: CW_SEND only waits, CW_KBD reads the keyboard during long waits.
  // False when the wait was cut short by a stop.
  virtual bool wait(int32_t durationMs) = 0;
  bool waitFor(const Deadline &deadline);
  // The host asked to stop (seen by a wait, or set by the keyer itself).
  bool stopped() const { return stopped_; }
  void markStopped() { stopped_ = true; }

  // Keys the symbols of a code (or of two codes joined into one sign) with element gaps
  // between them. The key is left up on every path, errors of the host and stops included;
  // false when a stop cut the sign short.
  bool keySign(std::string_view code);

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

  bool stopped_ = false;
};

}  // namespace morse
