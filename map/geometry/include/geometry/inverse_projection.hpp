#pragma once

// The inverse of the azimuthal equidistant projection (projection.hpp): the position on the
// globe of a map point. Map points are statute miles from the station, x east, y north; the
// result is latitude and longitude in degrees, north and east positive, longitude in
// [−180, 180]. Points farther out than the antipode (12432.96 miles) continue past it along the
// same great circle. A station on a pole follows the bearing convention of DistanceBearing
// (from the north pole a target Δλ east of the station's meridian lies at bearing 180 − Δλ,
// from the south pole at bearing Δλ).
//
// Precision: double; ProjectPoint of the result lies within 1e-6 mile of (x, y) away from the
// antipode, where the projection itself loses its bearing.

namespace orbelle::geo {

struct GeoPosition {
  double lat = 0.0;
  double lon = 0.0;
};

class InverseProjector {
 public:
  // Station in degrees, north and east positive.
  InverseProjector(double latHere, double lonHere);

  GeoPosition position(double x, double y) const noexcept;

 private:
  double latHere_;
  double lonHere_;
  double sinLat1_;
  double cosLat1_;
};

}  // namespace orbelle::geo
