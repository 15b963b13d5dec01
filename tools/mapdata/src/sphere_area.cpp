#include "sphere_area.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mapdata {

double ringAreaKm2(const Polyline& ring) {
  // Sum of dLon * (sin lat1 + sin lat2) / 2 is the signed area between the ring and the
  // equator, in steradians; the sum of dLon is 0 for an ordinary ring and +-2 pi for one
  // that winds round a pole.
  double between = 0.0, winding = 0.0;
  for (std::size_t i = 1; i < ring.size(); ++i) {
    double dLon = ring[i].lon - ring[i - 1].lon;
    if (dLon > 180.0) dLon -= 360.0;
    if (dLon < -180.0) dLon += 360.0;
    dLon *= kRadPerDeg;
    winding += dLon;
    between +=
        dLon * (std::sin(ring[i].lat * kRadPerDeg) + std::sin(ring[i - 1].lat * kRadPerDeg)) / 2.0;
  }
  constexpr double kSphere = 4.0 * std::numbers::pi;
  double area = std::fabs(between);
  if (std::fabs(winding) > std::numbers::pi) {
    // Cap towards the south pole: the integral of (1 + sin lat) dLon, whichever way round.
    const double southCap = std::fabs(between + winding);
    area = std::min(southCap, kSphere - southCap);
  }
  area = std::min(area, kSphere - area);
  return area * kEarthRadiusKm * kEarthRadiusKm;
}

}  // namespace mapdata
