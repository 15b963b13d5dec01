// Calendar dates as Julian day numbers and the host's date settings (SET DATE).
//
// A date value holds the Julian day number of a Gregorian calendar day (1 January 2000 is
// 2451545); 0 is the empty date. Texts always carry a four-digit year.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace foxhost::dates {

struct CivilDate {
  int32_t year;
  int32_t month;  // 1..12
  int32_t day;    // 1..31
};

int64_t julianDay(const CivilDate &date);
// A date value's day number: its whole part when it names a day from 1 January 1 to
// 31 December 9999, otherwise 0 (the empty date), so that no value can break a conversion.
int64_t dayNumber(double value);
CivilDate civilDate(int64_t julianDay);
bool isValid(const CivilDate &date);

// The canonical upper-case name of a date setting ("AMERICAN", "MDY", ...), or nothing when the
// word names no setting. Case-blind.
std::optional<std::string> settingName(std::string_view word);

// The day number as text under a setting; the empty date gives the setting's blank pattern.
std::string format(int64_t julianDay, const std::string &setting);

// Reads a text under a setting: three numbers in the setting's field order, separated by any
// non-digits. A two-digit year means 1950..2049. Anything that is not a valid day gives 0.
int64_t parse(std::string_view text, const std::string &setting);

// Today's local date.
int64_t today();

}  // namespace foxhost::dates
