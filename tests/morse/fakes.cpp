#include "fakes.hpp"

#include <cmath>

namespace morse::test {

std::vector<Stretch> keyingRuns(const std::vector<PortEvent> &events, uint16_t controlPort) {
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

std::vector<int> roundedMs(const std::vector<Stretch> &runs, bool down) {
  std::vector<int> out;
  for (const Stretch &r : runs) {
    if (r.on == down) out.push_back(static_cast<int>(std::lround(r.ms)));
  }
  return out;
}

std::string keyedSymbols(const std::vector<Stretch> &runs, double dotMs, double elementGapMs) {
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

}  // namespace morse::test
