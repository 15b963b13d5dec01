// Geographic points and polylines as the converter handles them before rounding.
#pragma once

#include <numbers>
#include <vector>

namespace mapdata {

// Radians per degree, for the converter's spherical arithmetic (double precision).
inline constexpr double kRadPerDeg = std::numbers::pi / 180.0;

// Longitude and latitude in decimal degrees, east and north positive. Longitudes lie in
// [-180, 180]; -180 and 180 name the same meridian.
struct LonLat {
  double lon = 0.0;
  double lat = 0.0;
  bool operator==(const LonLat&) const = default;
};

using Polyline = std::vector<LonLat>;

// True when a and b are the same place: exactly equal, or on the same latitude at -180 and 180.
// Exact comparison on purpose: GMT writes the shared ends of neighbouring pieces identically.
inline bool samePlace(LonLat a, LonLat b) {
  if (a.lat != b.lat) return false;
  if (a.lon == b.lon) return true;
  return (a.lon == 180.0 && b.lon == -180.0) || (a.lon == -180.0 && b.lon == 180.0);
}

// The representative of a place used as a lookup key: longitude 180 becomes -180.
inline LonLat placeKey(LonLat p) {
  if (p.lon == 180.0) p.lon = -180.0;
  return p;
}

}  // namespace mapdata
