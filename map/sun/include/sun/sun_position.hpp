#pragma once

// The sub-solar point of a simple model: the declination is a pure sine of the day number with
// an amplitude of 23° that crosses zero on day 80, and the sub-solar longitude follows the UTC
// clock at 15° per hour. No equation of time, no refraction. All results are double precision.

#include "ini/date_time.hpp"

namespace orbelle {

inline constexpr double kSunDeclinationAmplitude = 23.0;  // degrees
inline constexpr double kSunDeclinationZeroDay = 80.0;    // day number of the rising zero
inline constexpr double kSunHalfPeriodDays = 182.5;       // half the 365-day period

// Days, with fraction, from 00:00 on 1 January of `localYear` to t. `localYear` is the year of
// the local clock's current date, not of t: near New Year the result lies just below 0 or just
// above 365, which the 365-day period of SunDeclination absorbs. 12:00 on 1 January gives 0.5.
double DayOfYear(DateTime t, int localYear);

// Hours since 00:00 of t: hour + minute / 60 + second / 3600 (t rounded to whole seconds).
double DecimalHours(DateTime t);

// Sub-solar longitude in degrees east, in (−180, 180]: 180 − DecimalHours(t) / 24 × 360.
// 00:00 UTC gives 180, 06:00 gives 90, 12:00 gives 0, 18:00 gives −90.
double SunLongitude(DateTime t);

// Declination in degrees north: 23 × sin((DayOfYear − 80) × π / 182.5), π = 3.14159265358979.
// Zero on days 80 and 262.5, +23 on day 171.25, −23 on day 353.75.
double SunDeclination(DateTime t, int localYear);

}  // namespace orbelle
