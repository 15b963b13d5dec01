#include "core/heading.hpp"

#include <cfenv>
#include <cmath>

namespace orbelle::station {

std::optional<double> rotatorAzimuth(double heading, RotatorRange range) {
  if (!std::isfinite(heading)) return std::nullopt;
  // Tenths of a degree as an integer count, so that folding is exact.
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double tenths = std::nearbyint(heading * 10.0);
  std::fesetround(saved);
  double folded = std::fmod(tenths, 3600.0);
  if (folded < 0.0) folded += 3600.0;  // now in [0, 3600)
  if (range == RotatorRange::FromMinus180To180 && folded >= 1800.0) folded -= 3600.0;
  return folded / 10.0 + 0.0;  // + 0.0 turns −0 into 0
}

}  // namespace orbelle::station
