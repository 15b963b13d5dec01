// What the keyers need from the host: its keyboard, its command language, its text objects, and
// its word on whether the call must stop. Any of the first three may end the call by throwing
// the host's error; the keyers leave the key up and their state consistent when that happens.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/timed_wait.hpp"

namespace morse {

enum class KeyWait {
  Ready,       // a key can be read
  InputEnded,  // no key can come any more: the keyboard's input has ended
  Stop         // the host asks the call to stop
};

class KeyerHost : public StopFlag {
 public:
  // The next key code, 0 when none is waiting.
  virtual int32_t readKey() = 0;
  // Sleeps until a key can be read, the input has ended, or the host asks to stop.
  virtual KeyWait waitForKey() = 0;
  virtual void execute(std::string_view command) = 0;
  // Appends text to the object's VALUE and puts its caret after the text.
  virtual void appendText(uint32_t object, std::string_view text) = 0;
  // Removes the last character of the object's VALUE (none when empty); caret after the text.
  virtual void takeBackCharacter(uint32_t object) = 0;
};

}  // namespace morse
