// What the Morse benchmarks share: the monotonic clock in nanoseconds, an absolute sleep on it,
// quantiles, and running under SCHED_FIFO when asked and allowed.
#pragma once

#include <sched.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bench {

inline uint64_t monotonicNanos() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

inline void sleepUntilNanos(uint64_t nanos) {
  timespec at{};
  at.tv_sec = static_cast<time_t>(nanos / 1'000'000'000u);
  at.tv_nsec = static_cast<long>(nanos % 1'000'000'000u);
  clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
}

// The value below which a share `q` of the sorted values lies.
inline double quantile(const std::vector<double> &sorted, double q) {
  if (sorted.empty()) return 0;
  return sorted[std::min(sorted.size() - 1,
                         static_cast<size_t>(q * static_cast<double>(sorted.size())))];
}

// SCHED_FIFO at the library's keying priority for the scope, when `wanted` and allowed.
class SchedulingScope {
 public:
  explicit SchedulingScope(bool wanted) {
    if (!wanted) return;
    policy_ = sched_getscheduler(0);
    sched_getparam(0, &old_);
    sched_param p{};
    p.sched_priority = 10;
    realtime_ = sched_setscheduler(0, SCHED_FIFO, &p) == 0;
  }
  ~SchedulingScope() {
    if (realtime_) sched_setscheduler(0, policy_, &old_);
  }
  SchedulingScope(const SchedulingScope &) = delete;
  SchedulingScope &operator=(const SchedulingScope &) = delete;
  bool realtime() const { return realtime_; }

 private:
  bool realtime_ = false;
  int policy_ = 0;
  sched_param old_{};
};

}  // namespace bench
