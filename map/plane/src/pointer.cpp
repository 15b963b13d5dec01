#include "plane/pointer.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/constants.hpp"
#include "geometry/maidenhead.hpp"
#include "geometry/plane_inverse.hpp"

namespace orbelle::geo {

PlanePosition planeOfPointer(double offsetXTwips, double offsetYTwips, const PointerScale& scale) {
  PlanePosition p;
  if (scale.innerWidthTwips > 0.0) {
    p.x = static_cast<float>(offsetXTwips * (2.0 * scale.radius / scale.innerWidthTwips) -
                             scale.radius);
  }
  if (scale.innerHeightTwips > 0.0) {
    p.y = static_cast<float>(scale.radius -
                             offsetYTwips * (2.0 * scale.radius / scale.innerHeightTwips));
  }
  return p;
}

std::int32_t headingOf(PlanePosition p) {
  const double degrees = Atan2(p.x, p.y) / kDegToRad;
  const double folded = Normalize360(std::floor(degrees));
  return std::isfinite(folded) ? static_cast<std::int32_t>(folded) : 360;
}

double headingForButton(double heading, int button) {
  return button == kRightButton ? Normalize360(heading + 180.0) : heading;
}

std::int32_t rotorHeading(PlanePosition p, int button) {
  return static_cast<std::int32_t>(headingForButton(headingOf(p), button));
}

Readout readoutOf(PlanePosition p) {
  Readout r;
  r.heading = headingOf(p);
  const float d = std::sqrt(p.x * p.x + p.y * p.y);
  r.miles = static_cast<std::int64_t>(std::floor(d));
  r.km = static_cast<std::int64_t>(std::floor(d * kKmPerMile));
  return r;
}

std::string locatorOf(PlanePosition p, double latHere, double lonHere) {
  const std::optional<GeoPosition> place = PlaneInverse(latHere, lonHere).position({p.x, p.y});
  return place ? maidenheadLocator(place->lat, place->lon) : std::string();
}

}  // namespace orbelle::geo
