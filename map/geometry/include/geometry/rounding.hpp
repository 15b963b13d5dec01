#pragma once

// Explicit rounding used by the map plane. The rounding mode of the floating-point environment
// is never consulted.

#include <cstdint>

#include "raster/rounding.hpp"

namespace orbelle::geo {

// Nearest integer, ties to even (2.5 → 2, 3.5 → 4, −2.5 → −2); the surface uses the same rule.
using raster::roundHalfEven;

// Nearest integer, ties to even, as a 16-bit map coordinate. Values beyond the 16-bit range are
// saturated to −32768 / 32767 and NaN gives 0; map distances are at most 12432.96 miles, so
// neither happens for projected positions.
std::int16_t toInt16HalfEven(double value);

}  // namespace orbelle::geo
