// CW_SEND: keys a text, or resumes a paused one, watching the keyboard after each character.
//
// Keys while sending: Home pauses at the next blank (after the word in progress), End stops at
// the next character that is not a blank, Up and Down change the speed by 2 WPM (never below 5).
// A stop leaves the character at which it took effect echoed but not keyed; a resume keys it
// (without a second echo) so that nothing of the text is lost. A stop asked by the host (Ctrl-C)
// takes effect at once, mid-element if need be, and returns as the stop key does.
#pragma once

#include <optional>
#include <string>

#include "core/keyer_session.hpp"

namespace morse {

class SendKeyer : public KeyerSession {
 public:
  using KeyerSession::KeyerSession;

  // `text`: a new text to send; nullopt resumes a paused one. `echoObject`: the object whose
  // VALUE shows each character as it is sent, when one was passed.
  SendResult run(const std::optional<std::string> &text, std::optional<uint32_t> echoObject);

 protected:
  bool wait(int32_t durationMs) override { return waitFor(Deadline::after(clock_, durationMs)); }

 private:
  // Leaves paused at the present position; `rekey`: a resume keys its character again.
  SendResult stopAt(bool rekey);
  void actOnKey(int32_t key);
  void changeSpeed();
};

}  // namespace morse
