#pragma once

#include <cstdint>

namespace orbelle {

// A date-time as the map program keeps it: a count of days since 00:00 on 30 December 1899,
// with the time of day as the fraction (proleptic Gregorian calendar, no time zone). Only
// differences between two values and their calendar fields are used.
struct DateTime {
  double serial = 0.0;
  friend bool operator==(DateTime, DateTime) = default;
};

struct CivilDateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const CivilDateTime&, const CivilDateTime&) = default;
};

// Combines year, month and day as a date serial does: a month or day beyond its range carries
// into the next unit (month 13 is January of the next year, day 0 the last day of the previous
// month, day 32 of January is 1 February).
DateTime DateSerial(int year, int month, int day);

// A date-time from calendar fields; hour, minute and second carry like the date fields.
DateTime makeDateTime(int year, int month, int day, int hour, int minute, int second);

// Calendar fields of a date-time, rounded to the nearest whole second (ties to even). Serials
// that are not finite read as day 0; serials beyond ±3,000,000 days are held at that bound.
CivilDateTime toCivil(DateTime t);

// t plus a number of seconds, the seconds rounded to a whole number first (ties to even).
DateTime addSeconds(DateTime t, double seconds);

}  // namespace orbelle
