// The keyer's clock and host, carried by the extension interface.
#pragma once

#include "core/keyer_host.hpp"
#include "core/timed_wait.hpp"

namespace morse {

// The millisecond clock the host shares with its libraries (virtual under test).
class FoxClock : public Clock {
 public:
  uint64_t nowMicros() override;
};

// Keys through service 62, commands through 54, echoes through 123/122 on "VALUE" and
// "SELSTART". Host failures end the call with the host's error.
class FoxKeyerHost : public KeyerHost {
 public:
  int32_t readKey() override;
  void execute(std::string_view command) override;
  void appendText(uint32_t object, std::string_view text) override;
  void takeBackCharacter(uint32_t object) override;
};

}  // namespace morse
