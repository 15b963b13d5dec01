#include "lib/fox_adapters.hpp"

#include <string>

#include "core/constants.hpp"
#include "foxlib.hpp"

namespace morse {
namespace {

// An object's VALUE as text; a value of another type counts as no text yet.
std::string valueText(uint32_t object) {
  const fox::HostValue v = fox::getProperty(object, "VALUE");
  return v.type == 'C' ? v.text : std::string();
}

void putValue(uint32_t object, const std::string &text) {
  fox::setTextProperty(object, "VALUE", text, false);
  fox::setIntegerProperty(object, "SELSTART", kCaretAtEnd, false);
}

}  // namespace

uint64_t FoxClock::nowMicros() { return fox::clock::nowMicros(); }
void FoxClock::sleepUntil(uint64_t micros) { fox::clock::sleepUntil(micros); }

bool FoxKeyerHost::stopRequested() { return fox::stopRequested(); }

int32_t FoxKeyerHost::readKey() { return fox::readKey(); }

KeyWait FoxKeyerHost::waitForKey() {
  switch (fox::waitForKey()) {
    case FOX_KEY_INPUT_ENDED:
      return KeyWait::InputEnded;
    case FOX_KEY_STOP:
      return KeyWait::Stop;
    default:
      return KeyWait::Ready;
  }
}

void FoxKeyerHost::execute(std::string_view command) { fox::execute(command); }

void FoxKeyerHost::appendText(uint32_t object, std::string_view text) {
  std::string value = valueText(object);
  value.append(text);
  putValue(object, value);
}

void FoxKeyerHost::takeBackCharacter(uint32_t object) {
  std::string value = valueText(object);
  if (!value.empty()) value.pop_back();
  putValue(object, value);
}

}  // namespace morse
