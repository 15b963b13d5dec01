#include "geometry/projection.hpp"

#include <cmath>

#include "arc_core.hpp"
#include "geometry/constants.hpp"
#include "geometry/great_circle.hpp"

namespace orbelle::geo {

MapPoint ProjectPoint(double latHere, double lonHere, double lat, double lon) {
  const DistanceBearingResult db = DistanceBearing(latHere, lonHere, lat, lon);
  return {db.miles * std::sin(db.bearing * kDegToRad), db.miles * std::cos(db.bearing * kDegToRad)};
}

StationProjector::StationProjector(double latHere, double lonHere)
    : latHere_(latHere),
      lonHere_(lonHere),
      lonHereNorm_(lonHere < 0.0 ? lonHere + 360.0 : lonHere),
      sinLat1_(std::sin(latHere * kDegToRad)),
      cosLat1_(std::cos(latHere * kDegToRad)) {}

MapPoint StationProjector::project(double lat, double lon) const noexcept {
  if (lat == latHere_ && lon == lonHere_) return {};
  const double dlon = detail::foldedLonDifference(lonHereNorm_, lon);
  const double phi2 = lat * kDegToRad;
  const double dl = dlon * kDegToRad;
  return projectTerms(lat, dlon, std::sin(phi2), std::cos(phi2), std::sin(dl), std::cos(dl));
}

MapPoint StationProjector::projectTerms(double lat, double dlon, double sinLat2, double cosLat2,
                                        double sinDl, double cosDl) const noexcept {
  const detail::Arc arc = detail::arcFrom(sinLat1_, cosLat1_, sinLat2, cosLat2, cosDl);
  const double d = detail::milesOf(arc);
  const double s1 = detail::bearingSine(arc, sinDl, cosLat2);

  // The rare exact bearings (due east or west, due north or south) go through the literal
  // sine and cosine of the bearing so that they match ProjectPoint to the bit.
  if (std::fabs(s1) >= 1.0 || s1 == 0.0) {
    double bearing;
    if (s1 == 0.0) {
      bearing = lat < latHere_ ? 180.0 : 0.0;
    } else {
      bearing = dlon >= 0.0 ? 90.0 : 270.0;
    }
    return {d * std::sin(bearing * kDegToRad), d * std::cos(bearing * kDegToRad)};
  }
  // sin β = ±|s1| (east or west), cos β = ±√(1 − s1²) (north or south): the values the literal
  // route reaches through an arcsine, a fold into its quadrant and a sine and cosine.
  const double sinBearing = dlon >= 0.0 ? std::fabs(s1) : -std::fabs(s1);
  const double cosMagnitude = std::sqrt(1.0 - s1 * s1);
  const bool north = detail::northComponent(sinLat1_, cosLat1_, sinLat2, cosLat2, cosDl) > 0.0;
  return {d * sinBearing, north ? d * cosMagnitude : -d * cosMagnitude};
}

}  // namespace orbelle::geo
