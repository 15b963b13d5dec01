#include "ini/date_time.hpp"

#include <cmath>
#include <cstdint>

#include "ini/ini_text.hpp"

namespace orbelle {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// 30 December 1899 counted from 1 January 1970.
constexpr std::int64_t kEpochDaysFrom1970 = -25569;
constexpr double kSerialBound = 3'000'000.0;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Days since 1970-01-01 of a proleptic Gregorian date with month in 1..12.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = floorDiv(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = floorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::int64_t serialDays(std::int64_t year, std::int64_t month, std::int64_t day) {
  const std::int64_t m0 = month - 1;
  const std::int64_t y = year + floorDiv(m0, 12);
  const int m = static_cast<int>(m0 - floorDiv(m0, 12) * 12) + 1;
  return daysFromCivil(y, m, 1) + (day - 1) - kEpochDaysFrom1970;
}

}  // namespace

DateTime DateSerial(int year, int month, int day) {
  return DateTime{static_cast<double>(serialDays(year, month, day))};
}

DateTime makeDateTime(int year, int month, int day, int hour, int minute, int second) {
  const std::int64_t seconds = serialDays(year, month, day) * kSecondsPerDay +
                               std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second;
  return DateTime{static_cast<double>(seconds) / kSecondsPerDay};
}

CivilDateTime toCivil(DateTime t) {
  double serial = std::isfinite(t.serial) ? t.serial : 0.0;
  if (serial > kSerialBound) serial = kSerialBound;
  if (serial < -kSerialBound) serial = -kSerialBound;
  const auto total = static_cast<std::int64_t>(roundHalfEven(serial * kSecondsPerDay));
  const std::int64_t days = floorDiv(total, kSecondsPerDay);
  const std::int64_t secondOfDay = total - days * kSecondsPerDay;
  CivilDateTime c;
  civilFromDays(days + kEpochDaysFrom1970, c.year, c.month, c.day);
  c.hour = static_cast<int>(secondOfDay / 3600);
  c.minute = static_cast<int>(secondOfDay / 60 % 60);
  c.second = static_cast<int>(secondOfDay % 60);
  return c;
}

DateTime addSeconds(DateTime t, double seconds) {
  return DateTime{t.serial + roundHalfEven(seconds) / kSecondsPerDay};
}

}  // namespace orbelle
