// Library-wide state of the keyer, kept for as long as the library stays loaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/timing.hpp"
#include "core/type_ahead.hpp"

namespace morse {

struct KeyerState {
  KeyingSettings settings;
  Durations durations = computeDurations(settings);
  uint16_t portBase = kDefaultPortBase;

  // CW_SEND: the upper-cased text of the last call (any length) and the character being sent.
  std::string sendText;
  size_t position = 0;
  // Set when a stop left `position` echoed but not keyed: a resume keys it without a second echo.
  bool resumeAtPosition = false;

  bool paused = false;
  bool stopRequested = false;
  int32_t speedRequest = 0;  // 0, +kSpeedStepWpm or -kSpeedStepWpm

  // CW_KBD.
  TypeAhead typeAhead;
  std::string typedLine;  // typed in one keyboard pass, not yet shown in the typing object

  void recompute() { durations = computeDurations(settings); }
};

}  // namespace morse
