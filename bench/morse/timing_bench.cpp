// Keying accuracy and processor time on the real monotonic clock: keys "PARIS " repeatedly
// through the simulated ports, sleeping and spinning as the library does, and measures every
// element and gap against its computed duration. Each port write is timestamped in nanoseconds
// as it reaches the port layer.
//
// Reported per speed, normal scheduling (realtime 0) and SCHED_FIFO (realtime 1, when the
// process may): median signed error, p90, p99 and max of the absolute error in milliseconds,
// the share of runs more than 0.05 ms off, and cpu_share, the thread's processor time over the
// wall time while keying. MORSE_BENCH_REPEAT sets how many times "PARIS " is keyed (default 10:
// 30 s at 20 WPM).
#include <benchmark/benchmark.h>
#include <sched.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/send_keyer.hpp"
#include "ports/port_router.hpp"
#include "realtime_bench.hpp"

namespace {

class MonotonicClock : public morse::Clock {
 public:
  uint64_t nowMicros() override { return bench::monotonicNanos() / 1000u; }
  void sleepUntil(uint64_t micros) override { bench::sleepUntilNanos(micros * 1000u); }
};

class NoKeysHost : public morse::KeyerHost {
 public:
  bool stopRequested() override { return false; }
  int32_t readKey() override { return 0; }
  morse::KeyWait waitForKey() override { return morse::KeyWait::InputEnded; }
  void execute(std::string_view) override {}
  void appendText(uint32_t, std::string_view) override {}
  void takeBackCharacter(uint32_t) override {}
};

// The simulated ports, with each keying write timestamped on arrival.
class TimedPorts : public morse::PortIo {
 public:
  TimedPorts(morse::PortIo &inner, uint16_t control) : inner_(inner), control_(control) {}
  void out(uint16_t port, uint8_t value) override {
    if (port == control_)
      writes.push_back({bench::monotonicNanos(), (value & morse::kKeyingLineBit) == 0});
    inner_.out(port, value);
  }
  uint8_t in(uint16_t port) override { return inner_.in(port); }
  void setKeyingBase(uint16_t base) override { inner_.setKeyingBase(base); }

  struct Write {
    uint64_t nanos;
    bool down;
  };
  std::vector<Write> writes;

 private:
  morse::PortIo &inner_;
  uint16_t control_;
};

// Error of each run against the nearest duration it can stand for.
std::vector<double> errorsMs(const std::vector<TimedPorts::Write> &writes,
                             const morse::Durations &d) {
  const std::vector<double> downs = {static_cast<double>(d.dot), static_cast<double>(d.dash)};
  const std::vector<double> ups = {static_cast<double>(d.elementGap),
                                   static_cast<double>(d.characterGap),
                                   static_cast<double>(morse::wordSpaceMs(d))};
  std::vector<double> errors;
  for (size_t i = 1; i < writes.size(); ++i) {
    const double ms = static_cast<double>(writes[i].nanos - writes[i - 1].nanos) / 1e6;
    double best = 1e300;
    for (double expected : writes[i - 1].down ? downs : ups) {
      if (std::fabs(ms - expected) < std::fabs(best)) best = ms - expected;
    }
    errors.push_back(best);
  }
  return errors;
}

int repeatCount() {
  const char *v = std::getenv("MORSE_BENCH_REPEAT");
  const int n = v ? std::atoi(v) : 0;
  return n > 0 ? n : 10;
}

uint64_t threadCpuNanos() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

void BM_KeyingError(benchmark::State &state) {
  const int wpm = static_cast<int>(state.range(0));
  const bench::SchedulingScope scheduling(state.range(1) != 0);
  std::string text;
  for (int i = 0; i < repeatCount(); ++i) text += "PARIS ";

  std::vector<double> errors;
  double cpu = 0;
  double wall = 0;
  for (auto _ : state) {
    MonotonicClock clock;
    morse::PortsConfig config;
    config.backends = {morse::BackendKind::Sim};
    morse::PortRouter sim(config, clock, morse::kDefaultPortBase);
    TimedPorts ports(sim, morse::kDefaultPortBase + morse::kControlRegisterOffset);
    NoKeysHost host;
    morse::KeyerState keyer;
    keyer.settings.wpm = wpm;
    keyer.recompute();
    morse::SendKeyer sender(keyer, ports, clock, host);
    const uint64_t cpu0 = threadCpuNanos();
    const uint64_t wall0 = bench::monotonicNanos();
    sender.run(text, std::nullopt);
    cpu += static_cast<double>(threadCpuNanos() - cpu0);
    wall += static_cast<double>(bench::monotonicNanos() - wall0);
    const auto e = errorsMs(ports.writes, keyer.durations);
    errors.insert(errors.end(), e.begin(), e.end());
  }
  if (errors.empty()) return;
  std::vector<double> absolute(errors.size());
  std::transform(errors.begin(), errors.end(), absolute.begin(),
                 [](double x) { return std::fabs(x); });
  std::sort(errors.begin(), errors.end());
  std::sort(absolute.begin(), absolute.end());
  state.counters["realtime"] = scheduling.realtime() ? 1 : 0;
  state.counters["samples"] = static_cast<double>(errors.size());
  state.counters["median_err_ms"] = bench::quantile(errors, 0.5);
  state.counters["p90_abs_err_ms"] = bench::quantile(absolute, 0.90);
  state.counters["p99_abs_err_ms"] = bench::quantile(absolute, 0.99);
  state.counters["share_over_50us"] =
      static_cast<double>(
          std::count_if(absolute.begin(), absolute.end(), [](double x) { return x > 0.05; })) /
      static_cast<double>(absolute.size());
  state.counters["max_abs_err_ms"] = absolute.back();
  state.counters["cpu_share"] = cpu / wall;
}

BENCHMARK(BM_KeyingError)
    ->ArgsProduct({{20, 40}, {0, 1}})
    ->ArgNames({"wpm", "realtime"})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
