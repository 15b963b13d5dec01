// Tones on the PC speaker through the interval timer's channel 2 and the speaker gate.
#pragma once

#include <cstdint>

#include "core/timed_wait.hpp"
#include "ports/port_io.hpp"

namespace morse {

// The channel 2 divisor for a frequency: 1193180 / Hz (integer division), bounded to the
// timer's 16-bit range 1..65535. A frequency of 0 or below, or one so low that the divisor
// would not fit, gives the lowest tone (65535); one above the timer's input clock gives 1.
uint16_t timerDivisor(int32_t frequencyHz);

// Programs channel 2 as a square wave of the frequency, opens the speaker gate (bits 0 and 1 of
// port 0x61, the other bits as read), waits for the duration and closes the gate again, also
// when a stop cuts the wait short (then it returns false).
bool soundTone(PortIo &ports, Clock &clock, StopFlag &stop, int32_t frequencyHz,
               int32_t durationMs);

}  // namespace morse
