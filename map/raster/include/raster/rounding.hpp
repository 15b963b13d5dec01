#pragma once

// Round to nearest, ties to even, computed explicitly: the rounding mode of the floating-point
// environment is never consulted.

#include <cmath>

namespace orbelle::raster {

// Nearest integer, ties to even (2.5 → 2, 3.5 → 4, −2.5 → −2). NaN and ±infinity are returned
// unchanged.
inline double roundHalfEven(double value) noexcept {
  if (!std::isfinite(value)) return value;
  const double whole = std::trunc(value);
  // value − whole is exact: both have the same sign and |whole| ≤ |value| < 2·|whole| or whole = 0.
  if (std::fabs(value - whole) != 0.5) return std::round(value);
  return std::fmod(whole, 2.0) == 0.0 ? whole : whole + (value > 0.0 ? 1.0 : -1.0);
}

}  // namespace orbelle::raster
