#pragma once

// Colours of the spot and spotter markers as the host hands them over.

#include <cstdint>

#include "raster/color.hpp"

namespace orbelle::spots {

// A double colour value converted to a 32-bit integer: nearest, ties to even (12632256.5 gives
// 12632256). Values beyond the 32-bit range saturate and NaN gives 0, so a bad colour from the
// host can never abort adding a spot halfway.
std::int32_t colorToInt32(double value) noexcept;

// The colour a marker shows for a 32-bit colour value: its low 24 bits (red + 256 green +
// 65536 blue). Values outside 0 .. 0xFFFFFF are not colours; their high bits are ignored.
constexpr raster::Rgb markerRgb(std::int32_t color) noexcept {
  return static_cast<raster::Rgb>(color) & 0xffffffu;
}

}  // namespace orbelle::spots
