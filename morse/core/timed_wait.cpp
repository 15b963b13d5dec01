#include "core/timed_wait.hpp"

namespace morse {

Deadline Deadline::after(Clock &clock, int32_t durationMs) {
  const uint64_t now = clock.nowMicros();
  // A negative duration would put the deadline behind the clock; 0 says the same and keeps the
  // signed comparison away from the half-range edge.
  const uint32_t add = durationMs > 0 ? static_cast<uint32_t>(durationMs) : 0u;
  const uint32_t nowMillis = static_cast<uint32_t>(now / 1000u);
  return Deadline(nowMillis + add, static_cast<uint32_t>(now % 1000u));
}

bool Deadline::reached(uint64_t nowMicros) const {
  const uint32_t nowMillis = static_cast<uint32_t>(nowMicros / 1000u);
  const auto ahead = static_cast<int32_t>(nowMillis - millis_);
  if (ahead != 0) return ahead > 0;
  return static_cast<uint32_t>(nowMicros % 1000u) >= phaseMicros_;
}

void Deadline::spin(Clock &clock) const {
  while (!reached(clock.nowMicros())) {
  }
}

void timedWait(Clock &clock, int32_t durationMs) { Deadline::after(clock, durationMs).spin(clock); }

}  // namespace morse
