// CW_ANNU: a short text in Morse on the PC speaker, for the operator's ears only (it never keys
// the transmitter). Reads no keys and cannot be paused; a stop asked by the host ends it.
//
// Timing differs from the keyer's: the element gap follows every element, the last one
// included; a blank waits the word gap and then the character gap; an apostrophe leaves out the
// character gap after the next character, so it and the one after sound as one sign.
#pragma once

#include <cstdint>
#include <string>

#include "core/constants.hpp"
#include "core/keyer_host.hpp"
#include "core/timed_wait.hpp"
#include "core/timing.hpp"
#include "ports/port_io.hpp"

namespace morse {

struct Announcement {
  std::string text;
  bool show = true;  // shows the text in a host wait window while it sounds
  int32_t frequencyHz = kAnnounceFrequencyHz;
  int32_t wpm = kAnnounceWpm;
  int32_t weight = 0;
  int32_t farnsworth = 0;
};

void announce(const Announcement &announcement, const KeyingSettings &adjusts, PortIo &ports,
              Clock &clock, KeyerHost &host);

}  // namespace morse
