#include "pointer_rules.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "options_rules.hpp"
#include "geometry/angles.hpp"

namespace orbelle::shell {

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
  const double degrees = geo::Atan2(p.x, p.y) / geo::kDegToRad;
  const double folded = geo::Normalize360(std::floor(degrees));
  return std::isfinite(folded) ? static_cast<std::int32_t>(folded) : 360;
}

std::int32_t rotorHeading(PlanePosition p, int button) {
  const std::int32_t heading = headingOf(p);
  if (button != kRightButton) return heading;
  return static_cast<std::int32_t>(geo::Normalize360(heading + 180.0));
}

Readout readoutOf(PlanePosition p) {
  Readout r;
  r.heading = headingOf(p);
  const float d = std::sqrt(p.x * p.x + p.y * p.y);
  r.miles = static_cast<std::int64_t>(std::floor(d));
  r.km = static_cast<std::int64_t>(std::floor(d * kKmPerMile));
  return r;
}

}  // namespace orbelle::shell
