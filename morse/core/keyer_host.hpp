// What the keyers need from the host: its keyboard, its command language and its text objects.
// Any of these may end the call by throwing the host's error; the keyers leave the key up and
// their state consistent when that happens.
#pragma once

#include <cstdint>
#include <string_view>

namespace morse {

class KeyerHost {
 public:
  virtual ~KeyerHost() = default;
  // The next key code, 0 when none is waiting.
  virtual int32_t readKey() = 0;
  virtual void execute(std::string_view command) = 0;
  // Appends text to the object's VALUE and puts its caret after the text.
  virtual void appendText(uint32_t object, std::string_view text) = 0;
  // Removes the last character of the object's VALUE (none when empty); caret after the text.
  virtual void takeBackCharacter(uint32_t object) = 0;
};

}  // namespace morse
