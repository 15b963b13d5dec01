// How late a thread wakes from an absolute sleep on CLOCK_MONOTONIC: the stretch before each
// edge that the keyer must spin instead of sleep (kSpinMicros) has to outlast this lateness, or
// the edge is late by the rest. Sleeps of 5 to 95 ms, as between the edges of Morse at usual
// speeds; normal scheduling (realtime 0) and SCHED_FIFO (realtime 1, when the process may).
// Reported in microseconds: p50, p99, p99.9 and max lateness.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "realtime_bench.hpp"

namespace {

void BM_WakeUpLateness(benchmark::State &state) {
  const bench::SchedulingScope scheduling(state.range(0) != 0);
  const char *v = std::getenv("MORSE_BENCH_WAKEUPS");
  const int count = v && std::atoi(v) > 0 ? std::atoi(v) : 1000;
  std::vector<double> late;
  for (auto _ : state) {
    uint32_t seed = 12345;
    for (int i = 0; i < count; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const uint64_t sleepNanos = (5 + (seed >> 16) % 91) * 1'000'000u;
      const uint64_t target = bench::monotonicNanos() + sleepNanos;
      bench::sleepUntilNanos(target);
      late.push_back(static_cast<double>(bench::monotonicNanos() - target) / 1000.0);
    }
  }
  std::sort(late.begin(), late.end());
  state.counters["realtime"] = scheduling.realtime() ? 1 : 0;
  state.counters["p50_late_us"] = bench::quantile(late, 0.5);
  state.counters["p99_late_us"] = bench::quantile(late, 0.99);
  state.counters["p999_late_us"] = bench::quantile(late, 0.999);
  state.counters["max_late_us"] = late.empty() ? 0 : late.back();
}

BENCHMARK(BM_WakeUpLateness)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("realtime")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
