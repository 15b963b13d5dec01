#pragma once

// The arithmetic DistanceBearing and StationProjector share, so that both compute the arc and
// the bearing's sine from the same operations in the same order and get identical bits.

#include <cmath>

#include "geometry/constants.hpp"

namespace orbelle::geo::detail {

// Longitude difference lon2 − lon1 in degrees after adding 360 to negative longitudes, folded
// into [−180, 180] (for longitudes in [−180, 180]).
inline double foldedLonDifference(double lon1Normalised, double lon2) {
  if (lon2 < 0.0) lon2 += 360.0;
  double dlon = lon2 - lon1Normalised;
  if (dlon < -180.0) dlon += 360.0;
  if (dlon > 180.0) dlon -= 360.0;
  return dlon;
}

struct Arc {
  double v = 0.0;        // cosine of the arc
  double raw = 0.0;      // raw arc in radians, (−π/2, π/2]; 0 when v ≥ 1 or v ≤ −1
  double degrees = 0.0;  // arc in degrees, [0, 180]
};

inline Arc arcFrom(double sinLat1, double cosLat1, double sinLat2, double cosLat2, double cosDlon) {
  Arc arc;
  arc.v = sinLat1 * sinLat2 + cosDlon * cosLat1 * cosLat2;
  if (arc.v >= 1.0 || arc.v <= -1.0) {
    arc.raw = 0.0;
  } else if (arc.v == 0.0) {
    arc.raw = kPi / 2.0;
  } else {
    // Negative for arcs beyond a quarter circle.
    arc.raw = std::atan(std::sqrt(1.0 - arc.v * arc.v) / arc.v);
  }
  if (arc.v <= -1.0) {
    arc.degrees = 180.0;
  } else {
    arc.degrees = arc.raw / kDegToRad;
    if (arc.raw < 0.0) arc.degrees += 180.0;
  }
  return arc;
}

inline double milesOf(const Arc& arc) {
  return arc.degrees * kNauticalMilesPerDegree * kMilesPerNauticalMile;
}

// Sine of the initial bearing; 0 when the raw arc is 0.
inline double bearingSine(const Arc& arc, double sinDlon, double cosLat2) {
  return arc.raw == 0.0 ? 0.0 : sinDlon * cosLat2 / std::sin(arc.raw);
}

// Northward component of the initial direction (times the sine of the arc): its sign tells
// whether the bearing lies in the northern half (−90, 90) or the southern one.
inline double northComponent(double sinLat1, double cosLat1, double sinLat2, double cosLat2,
                             double cosDlon) {
  return cosLat1 * sinLat2 - sinLat1 * cosLat2 * cosDlon;
}

}  // namespace orbelle::geo::detail
