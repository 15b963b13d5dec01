#include "spots/marker_colors.hpp"

#include <cmath>
#include <limits>

#include "geometry/rounding.hpp"

namespace orbelle::spots {

std::int32_t colorToInt32(double value) noexcept {
  if (std::isnan(value)) return 0;
  const double rounded = geo::roundHalfEven(value);
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  if (rounded <= kLowest) return std::numeric_limits<std::int32_t>::min();
  if (rounded >= kHighest) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(rounded);
}

}  // namespace orbelle::spots
