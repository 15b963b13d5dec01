#pragma once

// Internal helpers of the surface: the one per-pixel operation and the conversion of continuous
// pixel coordinates to whole pixels.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster/color.hpp"
#include "geometry/rounding.hpp"
#include "raster/surface.hpp"

namespace orbelle::raster::detail {

// Pixel coordinates are clamped to ±2^28 before integer arithmetic: far outside any surface,
// yet small enough that the line stepping in 64 bits cannot overflow.
inline constexpr double kFar = static_cast<double>(1 << 28);

// The one place a drawn pixel is written: Copy stores the value, Xor flips the bits of the mask.
// value is toPixel(colour) in Copy mode and toXorMask(colour) in Xor mode (see penValue).
inline void applyPixel(Pixel& pixel, Pixel value, DrawMode mode) noexcept {
  if (mode == DrawMode::Xor) {
    pixel ^= value;
  } else {
    pixel = value;
  }
}

inline void applySpan(Pixel* first, Pixel* last, Pixel value, DrawMode mode) noexcept {
  if (mode == DrawMode::Xor) {
    for (Pixel* p = first; p <= last; ++p) *p ^= value;
  } else {
    std::fill(first, last + 1, value);
  }
}

inline double clampFar(double coordinate) noexcept { return std::clamp(coordinate, -kFar, kFar); }

// Whole pixel of a finite continuous coordinate: nearest, ties to even, clamped.
inline std::int64_t wholePixel(double coordinate) noexcept {
  return geo::roundHalfEvenSmall(clampFar(coordinate));
}

inline bool allFinite(double a, double b) noexcept { return std::isfinite(a) && std::isfinite(b); }

}  // namespace orbelle::raster::detail
