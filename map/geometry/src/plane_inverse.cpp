#include "geometry/plane_inverse.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orbelle::geo {

EarthDirection directionOf(double lat, double lon) {
  const double phi = lat * kDegToRad;
  const double lambda = lon * kDegToRad;
  return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

PlaneInverse::PlaneInverse(double latHere, double lonHere) {
  const double phi = latHere * kDegToRad;
  const double lambda = lonHere * kDegToRad;
  const double sinPhi = std::sin(phi);
  const double cosPhi = std::cos(phi);
  const double sinLambda = std::sin(lambda);
  const double cosLambda = std::cos(lambda);
  up_ = {cosPhi * cosLambda, cosPhi * sinLambda, sinPhi};
  north_ = {-sinPhi * cosLambda, -sinPhi * sinLambda, cosPhi};
  east_ = {-sinLambda, cosLambda, 0.0};
}

EarthDirection PlaneInverse::alongCircle(MapPoint p, double miles) const noexcept {
  if (miles == 0.0) return up_;
  const double arc = miles / kMilesPerDegree * kDegToRad;
  const double c = std::cos(arc);
  const double s = std::sin(arc) / miles;  // sin(arc) × (sin β, cos β) = s × (x, y)
  const double e = s * p.x;
  const double n = s * p.y;
  return EarthDirection{c * up_.x + e * east_.x + n * north_.x, c * up_.y + e * east_.y + n * north_.y,
                        c * up_.z + e * east_.z + n * north_.z};
}

std::optional<EarthDirection> PlaneInverse::direction(MapPoint p) const {
  const double miles = std::hypot(p.x, p.y);
  if (!std::isfinite(miles) || miles > kAntipodeMiles) return std::nullopt;
  return alongCircle(p, miles);
}

namespace {

GeoPosition positionOf(const EarthDirection& d) {
  const double z = d.z < -1.0 ? -1.0 : (d.z > 1.0 ? 1.0 : d.z);
  return GeoPosition{std::asin(z) / kDegToRad, std::atan2(d.y, d.x) / kDegToRad};
}

}  // namespace

std::optional<GeoPosition> PlaneInverse::position(MapPoint p) const {
  const std::optional<EarthDirection> d = direction(p);
  if (!d) return std::nullopt;
  return positionOf(*d);
}

GeoPosition PlaneInverse::positionOnCircle(MapPoint p) const noexcept {
  return positionOf(alongCircle(p, std::hypot(p.x, p.y)));
}

}  // namespace orbelle::geo
