// The clock the keyer waits on, and the timed wait.
//
// Time is the clock's monotonic microseconds. A wait of n ms ends n ms to the microsecond after
// the moment its deadline was taken; a duration of 0 or less does not wait. A wait sleeps until
// kSpinMicros before its deadline and spins only the last stretch: a sleeping thread wakes a
// little late by nature (tens of microseconds on an idle machine, more under load), a spinning
// one does not, and spinning only the last stretch keeps the keyer off the processor almost
// all the time.
#pragma once

#include <cstdint>

namespace morse {

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic time in microseconds.
  virtual uint64_t nowMicros() = 0;
  // Sleeps until the clock reads `micros` or later; may return early (a signal woke it).
  virtual void sleepUntil(uint64_t micros) = 0;
};

// Tells a wait to end early: the host asks the call in progress to stop.
class StopFlag {
 public:
  virtual ~StopFlag() = default;
  virtual bool stopRequested() = 0;
};

class Deadline {
 public:
  // The deadline `durationMs` after the clock's present reading.
  static Deadline after(Clock &clock, int32_t durationMs);

  bool reached(uint64_t nowMicros) const { return nowMicros >= at_; }
  uint64_t micros() const { return at_; }

  // Waits for the deadline, sleeping and then spinning. Asks `stop` before each sleep and
  // returns false, cut short, as soon as it says so; true at the deadline.
  bool wait(Clock &clock, StopFlag &stop) const;

 private:
  explicit Deadline(uint64_t at) : at_(at) {}
  uint64_t at_;
};

// Waits `durationMs` on the clock (nothing when it is 0 or negative); false when cut short.
bool timedWait(Clock &clock, StopFlag &stop, int32_t durationMs);

}  // namespace morse
