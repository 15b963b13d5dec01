#include "core/utc_offset.hpp"

#include <cfenv>
#include <cmath>

namespace orbelle::station {

int utcOffsetHours(int secondsEastOfUtc) {
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double hours = std::nearbyint(-static_cast<double>(secondsEastOfUtc) / 3600.0);
  std::fesetround(saved);
  return static_cast<int>(hours);
}

}  // namespace orbelle::station
