// Number, date, byte and angle conversions of the utility library. All integer division here
// truncates toward zero and every remainder takes the sign of the dividend, as in C.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velalib {

// Two-digit packed decimal to an ordinary integer: (n rem 16) + (n / 16) × 10. 0x25 gives 25;
// wider values are not decoded digit by digit (0x123 gives 183).
int32_t packedToDecimal(int32_t n);

// The inverse for two digits: (n rem 10) + (n / 10) × 16; 25 gives 0x25. Results beyond the
// 32-bit range wrap modulo 2^32.
int32_t decimalToPacked(int32_t n);

// A date written as eight digits: year (4), month (2), day (2). The fields are not checked
// against the calendar.
struct DateDigits {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
};

// The date in the first eight characters of `text`, when all eight are decimal digits;
// characters after the eighth are ignored.
std::optional<DateDigits> readDateDigits(std::string_view text);

// Julian day number by the truncating integer formula (1 January 2000 is 2451545). Months
// outside 1..12 and days outside the month still give a number.
int64_t julianDayNumber(const DateDigits &date);

// "mm/dd/yyyy" with the fields as written in the eight digits.
std::string mdyText(const DateDigits &date);

// The text up to, not including, its first NUL; a text without one comes back whole.
std::string_view untilNul(std::string_view text);

// Whether 1-based position `position` names a byte of a text of `length` bytes (position − 1,
// taken as unsigned, must be below the length).
bool isBytePosition(int32_t position, size_t length);

// Folds an angle in degrees into 0..360, keeping 360 itself: a negative angle gets 360 added
// until it is not negative, then an angle above 360 gets 360 taken off until it is not above.
// The fold is exact (fmod); not-a-number and infinities give not-a-number.
double adjust360(double angle);

}  // namespace velalib
