// Positions on the one-minute grid of the outline records.
#pragma once

#include <cstdint>
#include <vector>

#include "geo.hpp"

namespace mapdata {

constexpr int kMinutesPerDegree = 60;
constexpr int kMaxLatMinutes = 90 * kMinutesPerDegree;   // 5400
constexpr int kMaxLonMinutes = 180 * kMinutesPerDegree;  // 10800

// Latitude and longitude in whole minutes of arc, north and east positive; |lat| <= 5400,
// |lon| <= 10800. Longitudes -10800 and 10800 are the same meridian.
struct MinutePoint {
  int lat = 0;
  int lon = 0;
  bool operator==(const MinutePoint&) const = default;
};

using MinuteLine = std::vector<MinutePoint>;

// Nearest integer, ties to the even neighbour, whatever the floating-point rounding mode.
double roundHalfEven(double x);

// The grid point nearest to p, each coordinate rounded to whole minutes with ties to even.
MinutePoint toMinutes(LonLat p);

inline bool samePlace(MinutePoint a, MinutePoint b) {
  if (a.lat != b.lat) return false;
  return a.lon == b.lon || (a.lon == kMaxLonMinutes && b.lon == -kMaxLonMinutes) ||
         (a.lon == -kMaxLonMinutes && b.lon == kMaxLonMinutes);
}

// One 32-bit key per place (longitude 10800 folded onto -10800).
inline std::uint32_t placeKey(MinutePoint p) {
  const int lon = p.lon == kMaxLonMinutes ? -kMaxLonMinutes : p.lon;
  return static_cast<std::uint32_t>((p.lat + kMaxLatMinutes) * (2 * kMaxLonMinutes + 1) +
                                    (lon + kMaxLonMinutes));
}

// Rounds every vertex and drops each vertex that is the same place as the one before it.
MinuteLine toMinuteLine(const Polyline& line);

// Twice the signed area of a closed ring on the grid, in square minutes, measured in the plane
// of longitude and latitude with longitudes unwrapped across +-180. Zero for a ring that
// encloses nothing on the grid. Rings that wind round a pole have no planar area: for them the
// function returns the sentinel kWindsRoundPole.
constexpr long long kWindsRoundPole = -1LL << 62;
long long twiceGridArea(const MinuteLine& ring);

}  // namespace mapdata
