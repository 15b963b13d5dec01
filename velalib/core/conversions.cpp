#include "conversions.hpp"

#include <cmath>
#include <limits>

#include "texts.hpp"

namespace velalib {

int32_t packedToDecimal(int32_t n) {
  // |n / 16| × 10 stays below 2^31, so this cannot overflow.
  return (n % 16) + (n / 16) * 10;
}

int32_t decimalToPacked(int32_t n) {
  const int64_t wide = int64_t{n % 10} + int64_t{n / 10} * 16;
  return static_cast<int32_t>(static_cast<uint32_t>(wide));
}

std::optional<DateDigits> readDateDigits(std::string_view text) {
  constexpr size_t kDigits = 8;
  if (text.size() < kDigits) return std::nullopt;
  int32_t fields[kDigits];
  for (size_t i = 0; i < kDigits; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    fields[i] = text[i] - '0';
  }
  DateDigits date;
  date.year = fields[0] * 1000 + fields[1] * 100 + fields[2] * 10 + fields[3];
  date.month = fields[4] * 10 + fields[5];
  date.day = fields[6] * 10 + fields[7];
  return date;
}

int64_t julianDayNumber(const DateDigits &date) {
  int64_t year = date.year;
  int64_t month = date.month;
  // The year is counted from March so that the leap day ends it.
  if (month > 2) {
    month -= 3;
  } else {
    month += 9;
    year -= 1;
  }
  const int64_t century = year / 100;
  const int64_t yearOfCentury = year % 100;
  return (146097 * century) / 4 + (1461 * yearOfCentury) / 4 + (153 * month + 2) / 5 + date.day +
         kJulianDayOffset;
}

std::string mdyText(const DateDigits &date) {
  char text[11];
  text[0] = static_cast<char>('0' + date.month / 10);
  text[1] = static_cast<char>('0' + date.month % 10);
  text[2] = '/';
  text[3] = static_cast<char>('0' + date.day / 10);
  text[4] = static_cast<char>('0' + date.day % 10);
  text[5] = '/';
  text[6] = static_cast<char>('0' + date.year / 1000);
  text[7] = static_cast<char>('0' + date.year / 100 % 10);
  text[8] = static_cast<char>('0' + date.year / 10 % 10);
  text[9] = static_cast<char>('0' + date.year % 10);
  text[10] = 0;
  return std::string(text, 10);
}

std::string_view untilNul(std::string_view text) {
  const size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

bool isBytePosition(int32_t position, size_t length) {
  const uint32_t offset = static_cast<uint32_t>(position) - 1u;
  return offset < length;
}

double adjust360(double angle) {
  if (!std::isfinite(angle)) return std::numeric_limits<double>::quiet_NaN();
  if (angle < 0) {
    // fmod is exact; the one rounding is the addition, which may land on 360 itself for a
    // tiny negative remainder, just as repeated addition would.
    const double folded = std::fmod(angle, kFullCircle);
    return folded < 0 ? folded + kFullCircle : 0.0;  // a whole number of turns gives +0
  }
  if (angle > kFullCircle) {
    const double folded = std::fmod(angle, kFullCircle);
    return folded == 0 ? kFullCircle : folded;
  }
  return angle;
}

}  // namespace velalib
