// CW_KBD: the type-ahead keyer. Keys what the operator types while it is being typed: typed
// characters go into the ring and are shown in the typing object; each character keyed is
// shown in the sent object. The keyboard is read whenever the ring is empty and at the start of
// every wait longer than 80 ms (the wait's deadline is taken before the keyboard pass, so
// reading keys never stretches an element or a gap). With nothing to key it sleeps until a key
// comes; when the keyboard's input ends, that is the stop key.
#pragma once

#include <cstdint>

#include "core/keyer_session.hpp"

namespace morse {

class TypeAheadKeyer : public KeyerSession {
 public:
  TypeAheadKeyer(KeyerState &state, PortIo &ports, Clock &clock, KeyerHost &host,
                 uint32_t typingObject, uint32_t sentObject)
      : KeyerSession(state, ports, clock, host), typing_(typingObject), sent_(sentObject) {}

  // Keys until a stop is requested or a blank is reached while paused. Returns true when it
  // left on a pause or with typed text still waiting. `keep` resumes with the ring as left.
  bool run(bool keep);

 protected:
  bool wait(int32_t durationMs) override;

 private:
  enum class Outcome { Continue, PausedAtBlank };
  Outcome sendCharacter(char c);
  void keyboardPass();
  void waitForTyping();
  void changeSpeed();
  void showTypedLine();

  uint32_t typing_;
  uint32_t sent_;
  int join_ = 0;
  std::string held_;
  int speedChangeDepth_ = 0;
};

}  // namespace morse
