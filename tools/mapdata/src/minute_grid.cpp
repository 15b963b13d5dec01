#include "minute_grid.hpp"

#include <cmath>

namespace mapdata {

double roundHalfEven(double x) {
  const double lower = std::floor(x);
  const double fraction = x - lower;
  if (fraction < 0.5) return lower;
  if (fraction > 0.5) return lower + 1.0;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

MinutePoint toMinutes(LonLat p) {
  return {static_cast<int>(roundHalfEven(p.lat * kMinutesPerDegree)),
          static_cast<int>(roundHalfEven(p.lon * kMinutesPerDegree))};
}

MinuteLine toMinuteLine(const Polyline& line) {
  MinuteLine out;
  out.reserve(line.size());
  for (const LonLat& p : line) {
    const MinutePoint m = toMinutes(p);
    if (out.empty() || !samePlace(out.back(), m)) out.push_back(m);
  }
  return out;
}

long long twiceGridArea(const MinuteLine& ring) {
  if (ring.size() < 2) return 0;
  long long sum = 0;
  long long unwrapped = ring.front().lon;
  for (std::size_t i = 1; i < ring.size(); ++i) {
    long long step = ring[i].lon - ring[i - 1].lon;
    if (step > kMaxLonMinutes) step -= 2 * kMaxLonMinutes;
    if (step < -kMaxLonMinutes) step += 2 * kMaxLonMinutes;
    const long long next = unwrapped + step;
    sum += unwrapped * ring[i].lat - next * ring[i - 1].lat;
    unwrapped = next;
  }
  if (unwrapped != ring.front().lon) return kWindsRoundPole;
  return sum;
}

}  // namespace mapdata
