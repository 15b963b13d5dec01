#include "core/timed_wait.hpp"

#include "core/constants.hpp"

namespace morse {

Deadline Deadline::after(Clock &clock, int32_t durationMs) {
  const uint64_t now = clock.nowMicros();
  return Deadline(durationMs > 0 ? now + static_cast<uint64_t>(durationMs) * 1000u : now);
}

bool Deadline::wait(Clock &clock, StopFlag &stop) const {
  for (;;) {
    if (stop.stopRequested()) return false;
    const uint64_t now = clock.nowMicros();
    if (reached(now)) return true;
    if (at_ - now <= kSpinMicros) break;
    clock.sleepUntil(at_ - kSpinMicros);
  }
  while (!reached(clock.nowMicros())) {
  }
  return true;
}

bool timedWait(Clock &clock, StopFlag &stop, int32_t durationMs) {
  return Deadline::after(clock, durationMs).wait(clock, stop);
}

}  // namespace morse
