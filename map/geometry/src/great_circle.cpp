#include "geometry/great_circle.hpp"

#include <cmath>

#include "arc_core.hpp"
#include "geometry/constants.hpp"

namespace orbelle::geo {

DistanceBearingResult DistanceBearing(double lat1, double lon1, double lat2, double lon2) {
  if (lat1 == lat2 && lon1 == lon2) return {};

  if (lon1 < 0.0) lon1 += 360.0;
  const double dlon = detail::foldedLonDifference(lon1, lon2);
  const bool east = dlon >= 0.0;

  const double phi1 = lat1 * kDegToRad;
  const double phi2 = lat2 * kDegToRad;
  const double dl = dlon * kDegToRad;
  const double sinLat1 = std::sin(phi1), cosLat1 = std::cos(phi1);
  const double sinLat2 = std::sin(phi2), cosLat2 = std::cos(phi2);
  const double cosDl = std::cos(dl);

  const detail::Arc arc = detail::arcFrom(sinLat1, cosLat1, sinLat2, cosLat2, cosDl);
  DistanceBearingResult result;
  result.miles = detail::milesOf(arc);
  result.km = result.miles * kKmPerMile;

  const double s1 = detail::bearingSine(arc, std::sin(dl), cosLat2);
  if (std::fabs(s1) >= 1.0) {
    result.bearing = east ? 90.0 : 270.0;
    return result;
  }
  if (s1 == 0.0) {
    result.bearing = lat2 < lat1 ? 180.0 : 0.0;
    return result;
  }
  // Angle from the meridian, degrees in (0, 90).
  const double a = std::fabs(std::atan(s1 / std::sqrt(1.0 - s1 * s1)) / kDegToRad);
  const bool north = detail::northComponent(sinLat1, cosLat1, sinLat2, cosLat2, cosDl) > 0.0;
  if (east) {
    result.bearing = north ? a : 180.0 - a;
  } else {
    result.bearing = north ? 360.0 - a : 180.0 + a;
  }
  return result;
}

}  // namespace orbelle::geo
