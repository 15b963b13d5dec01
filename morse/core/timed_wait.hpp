// The clock the keyer spins on and the timed wait.
//
// Waits are measured on a millisecond tick counter that wraps modulo 2^32, like the system's
// millisecond clock: the deadline is "now + duration" modulo 2^32 and the wait spins until the
// clock is no longer below it. The counter is read at microsecond resolution and the deadline
// keeps the microsecond phase of the moment it was taken, so a wait of n ms lasts n ms to the
// microsecond instead of anywhere between n-1 and n. A duration of 0 or less does not wait.
#pragma once

#include <cstdint>

namespace morse {

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic time in microseconds.
  virtual uint64_t nowMicros() = 0;
};

class Deadline {
 public:
  // The deadline `durationMs` after the clock's present reading.
  static Deadline after(Clock &clock, int32_t durationMs);

  // Whether the clock reading `nowMicros` is no longer below the deadline. Comparison is by
  // signed difference on the wrapping millisecond counter, so a wrap of the counter during the
  // wait changes nothing.
  bool reached(uint64_t nowMicros) const;

  // Spins on the clock until the deadline is reached.
  void spin(Clock &clock) const;

  uint32_t millis() const { return millis_; }

 private:
  Deadline(uint32_t millis, uint32_t phaseMicros) : millis_(millis), phaseMicros_(phaseMicros) {}
  uint32_t millis_;
  uint32_t phaseMicros_;
};

// Waits `durationMs` on the clock; nothing when it is 0 or negative.
void timedWait(Clock &clock, int32_t durationMs);

}  // namespace morse
