#include "render/minute_projector.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orbelle::render {

namespace {

constexpr int kLatMinutes = 90 * 60;
constexpr int kLonMinutes = 180 * 60;

double gridDegrees(int minutes) { return minutes / 60.0; }

// lon2 − lon1 after adding 360 to negative longitudes, folded into [−180, 180], as the
// great-circle routine folds it.
double foldedDifference(double lon1, double lon2) {
  if (lon1 < 0.0) lon1 += 360.0;
  if (lon2 < 0.0) lon2 += 360.0;
  double dlon = lon2 - lon1;
  if (dlon < -180.0) dlon += 360.0;
  if (dlon > 180.0) dlon -= 360.0;
  return dlon;
}

}  // namespace

MinuteProjector::MinuteProjector(double latHere, double lonHere)
    : station_(latHere, lonHere),
      latHere_(latHere),
      lonHere_(lonHere),
      sinLat1_(std::sin(latHere * geo::kDegToRad)),
      cosLat1_(std::cos(latHere * geo::kDegToRad)),
      latitudes_(2 * kLatMinutes + 1),
      longitudes_(2 * kLonMinutes + 1) {
  for (int m = -kLatMinutes; m <= kLatMinutes; ++m) {
    const double phi = gridDegrees(m) * geo::kDegToRad;
    latitudes_[m + kLatMinutes] = {std::sin(phi), std::cos(phi)};
  }
  for (int m = -kLonMinutes; m <= kLonMinutes; ++m) {
    const double dlon = foldedDifference(lonHere, gridDegrees(m));
    const double dl = dlon * geo::kDegToRad;
    longitudes_[m + kLonMinutes] = {dlon, std::sin(dl), std::cos(dl)};
  }
}

geo::MapPoint MinuteProjector::project(std::int16_t latMinutes,
                                       std::int16_t lonMinutes) const noexcept {
  if (latMinutes < -kLatMinutes || latMinutes > kLatMinutes || lonMinutes < -kLonMinutes ||
      lonMinutes > kLonMinutes) {
    return station_.project(gridDegrees(latMinutes), gridDegrees(lonMinutes));
  }
  const double lat = gridDegrees(latMinutes);
  const double lon = gridDegrees(lonMinutes);
  if (lat == latHere_ && lon == lonHere_) return {};

  const SinCos& lat2 = latitudes_[latMinutes + kLatMinutes];
  const Difference& dl = longitudes_[lonMinutes + kLonMinutes];

  // The arc from its cosine v; negative raw arcs lie beyond a quarter circle.
  const double v = sinLat1_ * lat2.sin + dl.cos * cosLat1_ * lat2.cos;
  double raw = 0.0;
  if (v < 1.0 && v > -1.0) {
    raw = v == 0.0 ? geo::kPi / 2.0 : std::atan(std::sqrt(1.0 - v * v) / v);
  }
  double degrees;
  if (v <= -1.0) {
    degrees = 180.0;
  } else {
    degrees = raw / geo::kDegToRad;
    if (raw < 0.0) degrees += 180.0;
  }
  const double d = degrees * geo::kNauticalMilesPerDegree * geo::kMilesPerNauticalMile;

  const double s1 = raw == 0.0 ? 0.0 : dl.sin * lat2.cos / std::sin(raw);
  if (std::fabs(s1) >= 1.0 || s1 == 0.0) {
    // Due east or west, due north or south: the literal bearings.
    double bearing;
    if (s1 == 0.0) {
      bearing = lat < latHere_ ? 180.0 : 0.0;
    } else {
      bearing = dl.degrees >= 0.0 ? 90.0 : 270.0;
    }
    return {d * std::sin(bearing * geo::kDegToRad), d * std::cos(bearing * geo::kDegToRad)};
  }
  const double sinBearing = dl.degrees >= 0.0 ? std::fabs(s1) : -std::fabs(s1);
  const double cosMagnitude = std::sqrt(1.0 - s1 * s1);
  // The northward component of the initial direction picks the bearing's half.
  const bool north = cosLat1_ * lat2.sin - sinLat1_ * lat2.cos * dl.cos > 0.0;
  return {d * sinBearing, north ? d * cosMagnitude : -d * cosMagnitude};
}

}  // namespace orbelle::render
