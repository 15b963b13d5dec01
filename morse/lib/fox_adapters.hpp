// The keyer's clock and host, carried by the extension interface.
#pragma once

#include "core/keyer_host.hpp"
#include "core/timed_wait.hpp"

namespace morse {

// The millisecond clock the host shares with its libraries (virtual under test).
class FoxClock : public Clock {
 public:
  uint64_t nowMicros() override;
  void sleepUntil(uint64_t micros) override;
};

// Keys through services 62 and 208, commands through 54, echoes through 123/122 on "VALUE" and
// "SELSTART", stop requests through 209. Host failures end the call with the host's error.
class FoxKeyerHost : public KeyerHost {
 public:
  bool stopRequested() override;
  int32_t readKey() override;
  KeyWait waitForKey() override;
  void execute(std::string_view command) override;
  void appendText(uint32_t object, std::string_view text) override;
  void takeBackCharacter(uint32_t object) override;
};

}  // namespace morse
