#pragma once

// The shared sun state of the gray line and its own distance-and-bearing routine. Everything
// here is single precision (float), in degrees, as the terminator computation keeps it.

#include "ini/date_time.hpp"

namespace orbelle {

// Degrees per radian of the gray-line computations (the literal, not 180 / π).
inline constexpr double kGrayDegreesPerRadian = 57.2957795130824;
// The quarter turn of GrayLineRange: five decimals, not the full π / 2.
inline constexpr double kGrayQuarterTurn = 1.57079;
// Kilometres per degree of arc and per statute mile of the gray-line distance.
inline constexpr double kGrayKmPerDegree = 111.11;
inline constexpr double kGrayKmPerMile = 1.60933;

struct GrayLine {
  float GrayHomeLat = 0;  // station latitude
  float GrayHomeLon = 0;  // station longitude
  float SunDecl = 0;      // solar declination, north positive
  float SunLon = 0;       // sub-solar longitude, east positive
  float GrayMaxLat = 0;   // northernmost latitude of the terminator, 90 − |SunDecl|
  float GrayMinLat = 0;   // southernmost latitude of the terminator, −GrayMaxLat
};

// Rewrites the whole state for the UTC instant t, in this order: the station (LatHere, LonHere,
// degrees), SunDecl = SunDeclination(t), SunLon = SunLongitude(t) (less 360 above 180), then the
// turning latitudes of the terminator. `localYear` is the year of the local clock's date.
void setGrayLine(GrayLine& state, double LatHere, double LonHere, DateTime t, int localYear);

// Distance in statute miles and initial bearing in degrees (clockwise from north, [0, 360]) from
// the station of `state` to (Latitude, Longitude), degrees. Uses 111.11 km per degree of arc and
// 1.60933 km per mile, arcs from 1.57079 − atan(v / √(1 − v²)); each named quantity of the
// computation is held in single precision. Where the computation has no value (a division by
// zero, the root of a negative number, an infinity or NaN anywhere, the station itself or its
// antipode) both results are 0.
void GrayLineRange(const GrayLine& state, float Longitude, float Latitude, float& distance,
                   float& bearing);

}  // namespace orbelle
