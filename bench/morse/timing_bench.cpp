// Keying accuracy on the real monotonic clock: keys "PARIS " repeatedly through the simulated
// ports and measures every element and gap against its computed duration. Each port write is
// timestamped in nanoseconds as it reaches the port layer.
//
// Reported per speed: median signed error, p90, p99 and max of the absolute error, in
// milliseconds, and the share of runs more than 0.05 ms off. On a loaded machine the tail is
// the scheduler's: a spinning process that loses its core notices its deadline late.
// MORSE_BENCH_REPEAT sets how many times "PARIS " is keyed (default 10: 30 s at 20 WPM).
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/send_keyer.hpp"
#include "ports/port_router.hpp"

namespace {

uint64_t monotonicNanos() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

class MonotonicClock : public morse::Clock {
 public:
  uint64_t nowMicros() override { return monotonicNanos() / 1000u; }
};

class NoKeysHost : public morse::KeyerHost {
 public:
  int32_t readKey() override { return 0; }
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
      writes.push_back({monotonicNanos(), (value & morse::kKeyingLineBit) == 0});
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
  const double downs[] = {static_cast<double>(d.dot), static_cast<double>(d.dash)};
  const double ups[] = {static_cast<double>(d.elementGap), static_cast<double>(d.characterGap),
                        static_cast<double>(d.characterGap + std::max(0, d.wordGap))};
  std::vector<double> errors;
  for (size_t i = 1; i < writes.size(); ++i) {
    const double ms = static_cast<double>(writes[i].nanos - writes[i - 1].nanos) / 1e6;
    const bool wasDown = writes[i - 1].down;
    double best = 1e300;
    for (double expected : wasDown ? std::vector<double>(std::begin(downs), std::end(downs))
                                   : std::vector<double>(std::begin(ups), std::end(ups))) {
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

void BM_KeyingError(benchmark::State &state) {
  const int wpm = static_cast<int>(state.range(0));
  std::string text;
  for (int i = 0; i < repeatCount(); ++i) text += "PARIS ";

  std::vector<double> errors;
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
    sender.run(text, std::nullopt);
    const auto e = errorsMs(ports.writes, keyer.durations);
    errors.insert(errors.end(), e.begin(), e.end());
  }
  std::vector<double> absolute(errors.size());
  std::transform(errors.begin(), errors.end(), absolute.begin(),
                 [](double x) { return std::fabs(x); });
  std::sort(errors.begin(), errors.end());
  std::sort(absolute.begin(), absolute.end());
  if (errors.empty()) return;
  const auto at = [](const std::vector<double> &v, double q) {
    return v[std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())))];
  };
  state.counters["samples"] = static_cast<double>(errors.size());
  state.counters["median_err_ms"] = at(errors, 0.5);
  state.counters["p90_abs_err_ms"] = at(absolute, 0.90);
  state.counters["p99_abs_err_ms"] = at(absolute, 0.99);
  state.counters["share_over_50us"] =
      static_cast<double>(
          std::count_if(absolute.begin(), absolute.end(), [](double x) { return x > 0.05; })) /
      static_cast<double>(absolute.size());
  state.counters["max_abs_err_ms"] = absolute.back();
}

BENCHMARK(BM_KeyingError)->Arg(20)->Arg(40)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
