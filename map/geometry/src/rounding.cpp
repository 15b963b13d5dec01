#include "geometry/rounding.hpp"

#include <cmath>
#include <limits>

namespace orbelle::geo {

std::int16_t toInt16HalfEven(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = roundHalfEven(value);
  if (rounded <= std::numeric_limits<std::int16_t>::min()) {
    return std::numeric_limits<std::int16_t>::min();
  }
  if (rounded >= std::numeric_limits<std::int16_t>::max()) {
    return std::numeric_limits<std::int16_t>::max();
  }
  return static_cast<std::int16_t>(rounded);
}

}  // namespace orbelle::geo
