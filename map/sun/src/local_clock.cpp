#include "sun/local_clock.hpp"

#include <ctime>

namespace orbelle {

DateTime systemLocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&now, &local) == nullptr) return DateTime{};
  return makeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
}

DateTime systemUtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  if (::gmtime_r(&now, &utc) == nullptr) return DateTime{};
  return makeDateTime(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                      utc.tm_sec);
}

double systemHoursToUtc() {
  constexpr double kSecondsPerHour = 3600.0;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&now, &local) == nullptr) return 0.0;
  // tm_gmtoff: seconds east of UTC, daylight saving included.
  return -static_cast<double>(local.tm_gmtoff) / kSecondsPerHour;
}

LocalClock fixedClock(DateTime instant) {
  return [instant] { return instant; };
}

}  // namespace orbelle
