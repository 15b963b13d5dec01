#include "core/spot_time.hpp"

#include <algorithm>

#include "core/text.hpp"

namespace orbelle::station {

std::int64_t spotMadeAt(std::int64_t arrivalMs, std::int64_t msOfDay, std::int64_t resolutionMs) {
  const std::int64_t dayStart = arrivalMs - ((arrivalMs % kMsPerDay) + kMsPerDay) % kMsPerDay;
  std::int64_t start = dayStart + msOfDay;
  if (start > arrivalMs + kClockSkewMs) start -= kMsPerDay;
  return std::min(arrivalMs, start + resolutionMs - 1);
}

std::optional<int> minutesOfClusterTime(std::string_view t) {
  if (t.size() != 5 || (t[4] != 'Z' && t[4] != 'z')) return std::nullopt;
  for (int i = 0; i < 4; ++i) {
    if (!isAsciiDigit(t[i])) return std::nullopt;
  }
  const int hours = (t[0] - '0') * 10 + (t[1] - '0');
  const int minutes = (t[2] - '0') * 10 + (t[3] - '0');
  if (hours > 23 || minutes > 59) return std::nullopt;
  return hours * 60 + minutes;
}

}  // namespace orbelle::station
