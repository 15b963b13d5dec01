// Doubles for driving the keyers directly: a clock that steps on every read and jumps on a sleep,
// a host with scripted keys, text objects and stop, and ports that record every write.
#pragma once

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/keyer_host.hpp"
#include "core/keyer_state.hpp"
#include "core/timed_wait.hpp"
#include "morse_decoder.hpp"
#include "ports/pc_devices.hpp"
#include "ports/port_io.hpp"
#include "ports/port_recorder.hpp"

namespace morse::test {

struct StepClock : Clock {
  explicit StepClock(uint64_t startMicros = 1000000) : now_(startMicros) {}
  uint64_t nowMicros() override {
    ++reads;
    return ++now_;
  }
  // A sleep jumps to its end, or to the signal if that comes first; one that nothing ends stays.
  void sleepUntil(uint64_t micros) override {
    const uint64_t end = signalAtMicros > now_ ? std::min(micros, signalAtMicros) : micros;
    if (end > now_ && end != UINT64_MAX) now_ = end;
  }
  uint64_t peek() const { return now_; }
  void set(uint64_t micros) { now_ = micros; }

  uint64_t reads = 0;
  uint64_t signalAtMicros = UINT64_MAX;  // a stop signal arrives then
  uint64_t now_;
};

struct RecordingPorts : PortIo {
  explicit RecordingPorts(Clock &clock) : clock_(clock) {}
  void out(uint16_t port, uint8_t value) override {
    events.push_back({clock_.nowMicros(), port, value});
    devices.write(port, value);
  }
  uint8_t in(uint16_t port) override { return devices.read(port); }
  void setKeyingBase(uint16_t base) override { devices.setKeyingBase(base); }
  void standBy() override { ++standBys; }

  Clock &clock_;
  std::vector<PortEvent> events;
  int standBys = 0;
  PcDevices devices;
};

// Keys are readable from their time on; a wait for one jumps to it, or ends the input when none is
// left; a stop is asked once the clock's signal has come.
struct ScriptedHost : KeyerHost {
  explicit ScriptedHost(StepClock &clock) : clock_(clock) {}

  void queueKey(int32_t code, uint64_t atMillis) { keys_.push_back({code, atMillis * 1000}); }
  bool stopRequested() override { return clock_.peek() >= clock_.signalAtMicros; }
  KeyWait waitForKey() override {
    clock_.sleepUntil(keys_.empty() ? UINT64_MAX : keys_.front().second);
    if (stopRequested()) return KeyWait::Stop;
    return keys_.empty() ? KeyWait::InputEnded : KeyWait::Ready;
  }
  int32_t readKey() override {
    ++keyReads;
    if (keys_.empty() || keys_.front().second > clock_.peek()) return 0;
    const int32_t code = keys_.front().first;
    keys_.pop_front();
    return code;
  }
  void execute(std::string_view command) override {
    commands.emplace_back(command);
    act();
  }
  void appendText(uint32_t object, std::string_view text) override {
    if (failAfterActions >= 0 && actions_ >= failAfterActions) throw std::runtime_error("host");
    objects[object] += text;
    act();
  }
  void takeBackCharacter(uint32_t object) override {
    if (!objects[object].empty()) objects[object].pop_back();
    act();
  }

  void act() {
    ++actions_;
    clock_.set(clock_.peek() + actionCostMicros);
  }

  StepClock &clock_;
  std::deque<std::pair<int32_t, uint64_t>> keys_;  // code, due in microseconds
  std::vector<std::string> commands;
  std::map<uint32_t, std::string> objects;
  int actions_ = 0;
  int keyReads = 0;
  int failAfterActions = -1;      // appendText throws once this many actions have happened
  uint64_t actionCostMicros = 0;  // a slow host: each command or text update takes this long
};

// The keying line as alternating runs, from one write that changes it (down: bit 3 clear) to the
// next.
inline std::vector<Stretch> keyingRuns(const std::vector<PortEvent> &events, uint16_t controlPort) {
  std::vector<Stretch> runs;
  const PortEvent *last = nullptr;  // the last write that changed the line
  for (const PortEvent &e : events) {
    const bool down = (e.value & 0x08) == 0;
    if (e.port != controlPort || (last && down == ((last->value & 0x08) == 0))) continue;
    if (last) runs.push_back({!down, (e.micros - last->micros) / 1000.0});
    last = &e;
  }
  return runs;
}

// The down (or up) runs in whole ms, rounded: each clock read adds a microsecond.
inline std::vector<int> roundedMs(const std::vector<Stretch> &runs, bool down) {
  std::vector<int> out;
  for (const Stretch &r : runs) {
    if (r.on == down) out.push_back(static_cast<int>(std::lround(r.ms)));
  }
  return out;
}

// '.' for a down run within half a millisecond of `dotMs`, '_' for any other, ' ' for an up run
// longer than the element gap by more than half a millisecond.
inline std::string keyedSymbols(const std::vector<Stretch> &runs, double dotMs,
                                double elementGapMs) {
  std::string out;
  for (const Stretch &r : runs) {
    if (r.on) {
      out += std::fabs(r.ms - dotMs) < 0.5 ? '.' : '_';
    } else if (r.ms > elementGapMs + 0.5) {
      out += ' ';
    }
  }
  return out;
}

// A keyer's surroundings at a speed, with the keying line read back as runs and symbols.
struct KeyerRig {
  explicit KeyerRig(int32_t wpm = 15, int32_t farnsworth = 0) {
    state.settings.wpm = wpm;
    state.settings.farnsworth = farnsworth;
    state.recompute();
  }
  std::vector<Stretch> runs() const { return keyingRuns(ports.events, kDefaultPortBase + 2); }
  std::string symbols() const {
    return keyedSymbols(runs(), state.durations.dot, state.durations.elementGap);
  }
  uint64_t msNow() const { return clock.peek() / 1000; }
  void type(const std::string &text, uint64_t atMs) {
    for (char c : text) host.queueKey(static_cast<unsigned char>(c), atMs);
  }

  StepClock clock;
  RecordingPorts ports{clock};
  ScriptedHost host{clock};
  KeyerState state;
};

}  // namespace morse::test
