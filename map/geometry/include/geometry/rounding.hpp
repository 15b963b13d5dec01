#pragma once

// The map's rounding rules, computed explicitly: the rounding mode of the floating-point
// environment is never consulted. Every map coordinate, pixel and 16-bit value rounds to the
// nearest integer with ties to even.

#include <cmath>
#include <cstdint>

namespace orbelle::geo {

// Nearest integer, ties to even (2.5 → 2, 3.5 → 4, −2.5 → −2). NaN and ±infinity are returned
// unchanged.
inline double roundHalfEven(double value) noexcept {
  if (!std::isfinite(value)) return value;
  const double whole = std::trunc(value);
  // value − whole is exact: both have the same sign and |whole| ≤ |value| < 2·|whole| or whole = 0.
  if (std::fabs(value - whole) != 0.5) return std::round(value);
  return std::fmod(whole, 2.0) == 0.0 ? whole : whole + (value > 0.0 ? 1.0 : -1.0);
}

// The same rounding to a 64-bit integer for |value| ≤ 2^52, without library calls (for the
// surface's per-vertex conversions). Larger magnitudes and NaN are the caller's to exclude.
inline std::int64_t roundHalfEvenSmall(double value) noexcept {
  const auto whole = static_cast<std::int64_t>(value);         // truncates towards zero
  const double fraction = value - static_cast<double>(whole);  // exact below 2^52
  // Written without branches: the fractions of drawn coordinates are unpredictable (and ties
  // are common on some scales). A tie moves away from an odd whole only, so the threshold for
  // an odd one is the largest double below 0.5: |fraction| > it means |fraction| ≥ 0.5.
  const double threshold = 0.5 - static_cast<double>(whole & 1) * 0x1p-54;
  return whole + static_cast<std::int64_t>(fraction > threshold) -
         static_cast<std::int64_t>(fraction < -threshold);
}

// Nearest integer, ties to even, as a 16-bit map coordinate. Values beyond the 16-bit range are
// saturated to −32768 / 32767 and NaN gives 0; map distances are at most 12432.96 miles, so
// neither happens for projected positions.
std::int16_t toInt16HalfEven(double value);

}  // namespace orbelle::geo
