#pragma once

// Colours. The drawing model speaks 24-bit RGB packed as red + 256 × green + 65536 × blue
// (0x00BBGGRR). The surface stores pixels as 32-bit 0xFFRRGGBB words, the layout a QImage of
// format RGB32 uses, so a surface can be shown or saved without converting. The conversions
// below are exact and reversible for every 24-bit colour; XOR of two colours commutes with them.

#include <cstdint>

namespace orbelle::raster {

// Packed 24-bit colour, red + 256 × green + 65536 × blue. Bits above 24 are ignored.
using Rgb = std::uint32_t;

constexpr Rgb rgb(int red, int green, int blue) noexcept {
  return static_cast<Rgb>((red & 0xff) | ((green & 0xff) << 8) | ((blue & 0xff) << 16));
}

constexpr int redOf(Rgb c) noexcept { return static_cast<int>(c & 0xff); }
constexpr int greenOf(Rgb c) noexcept { return static_cast<int>((c >> 8) & 0xff); }
constexpr int blueOf(Rgb c) noexcept { return static_cast<int>((c >> 16) & 0xff); }

inline constexpr Rgb kBlack = rgb(0, 0, 0);
inline constexpr Rgb kWhite = rgb(255, 255, 255);
inline constexpr Rgb kRed = rgb(255, 0, 0);

// Relative luminance of a colour, 0 (black) .. 1 (white), as contrast ratios are measured:
// sRGB channels linearised and weighted 0.2126, 0.7152, 0.0722. Double precision.
double relativeLuminance(Rgb c) noexcept;

// Black or white, whichever contrasts more with `c` (ratio (L1 + 0.05) / (L2 + 0.05)): the
// outline that makes a mark of colour `c` readable on any ground, also for colour-blind eyes.
// Black for every colour of relative luminance above about 0.18 (red, silver, yellow), white
// below it (dark blue, black).
Rgb contrastingOutline(Rgb c) noexcept;

// Stored pixel word: alpha 0xFF, then red, green, blue from high to low byte.
using Pixel = std::uint32_t;
inline constexpr Pixel kOpaque = 0xff000000u;

constexpr Pixel toPixel(Rgb c) noexcept {
  return kOpaque | (static_cast<Pixel>(redOf(c)) << 16) | (static_cast<Pixel>(greenOf(c)) << 8) |
         static_cast<Pixel>(blueOf(c));
}

constexpr Rgb fromPixel(Pixel p) noexcept {
  return rgb(static_cast<int>((p >> 16) & 0xff), static_cast<int>((p >> 8) & 0xff),
             static_cast<int>(p & 0xff));
}

// The XOR pen in stored layout: XOR with it flips the colour bits and keeps alpha opaque.
constexpr Pixel toXorMask(Rgb c) noexcept { return toPixel(c) & ~kOpaque; }

}  // namespace orbelle::raster
