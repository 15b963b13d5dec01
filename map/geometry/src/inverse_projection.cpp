#include "geometry/inverse_projection.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/constants.hpp"

namespace orbelle::geo {

InverseProjector::InverseProjector(double latHere, double lonHere)
    : latHere_(latHere),
      lonHere_(lonHere),
      sinLat1_(std::sin(latHere * kDegToRad)),
      cosLat1_(std::cos(latHere * kDegToRad)) {}

GeoPosition InverseProjector::position(double x, double y) const noexcept {
  const double arc = std::hypot(x, y) / kMilesPerDegree * kDegToRad;
  const double bearing = std::atan2(x, y);
  const double sinArc = std::sin(arc), cosArc = std::cos(arc);
  double lon;
  double lat;
  if (latHere_ >= 90.0 || latHere_ <= -90.0) {
    const bool north = latHere_ > 0.0;
    lat = std::clamp((north ? 90.0 : -90.0) - (north ? 1.0 : -1.0) * arc / kDegToRad, -90.0, 90.0);
    const double b = bearing / kDegToRad;
    lon = north ? lonHere_ + 180.0 - b : lonHere_ + b;
  } else {
    const double sinLat =
        std::clamp(sinLat1_ * cosArc + cosLat1_ * sinArc * std::cos(bearing), -1.0, 1.0);
    lat = std::asin(sinLat) / kDegToRad;
    const double dl =
        std::atan2(std::sin(bearing) * sinArc * cosLat1_, cosArc - sinLat1_ * sinLat);
    lon = lonHere_ + dl / kDegToRad;
  }
  lon = std::remainder(lon, 360.0);
  return {lat, lon};
}

}  // namespace orbelle::geo
