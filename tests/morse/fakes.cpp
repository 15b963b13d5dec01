#include "fakes.hpp"

#include <cmath>

namespace morse::test {

std::vector<KeyRun> keyingRuns(const std::vector<PortEvent> &events, uint16_t controlPort) {
  std::vector<KeyRun> runs;
  bool have = false;
  bool down = false;
  uint64_t since = 0;
  for (const PortEvent &e : events) {
    if (e.port != controlPort) continue;
    const bool nowDown = (e.value & 0x08) == 0;
    if (have && nowDown == down) continue;
    if (have) runs.push_back({down, (e.micros - since) / 1000.0});
    have = true;
    down = nowDown;
    since = e.micros;
  }
  return runs;
}

std::vector<int> roundedMs(const std::vector<KeyRun> &runs, bool down) {
  std::vector<int> out;
  for (const KeyRun &r : runs) {
    if (r.down == down) out.push_back(static_cast<int>(std::lround(r.ms)));
  }
  return out;
}

std::string keyedSymbols(const std::vector<KeyRun> &runs, double dotMs, double elementGapMs) {
  std::string out;
  for (const KeyRun &r : runs) {
    if (r.down) {
      out += std::fabs(r.ms - dotMs) < 0.5 ? '.' : '_';
    } else if (r.ms > elementGapMs + 0.5) {
      out += ' ';
    }
  }
  return out;
}

}  // namespace morse::test
