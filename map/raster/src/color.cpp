#include "raster/color.hpp"

#include <cmath>

namespace orbelle::raster {
namespace {

// One sRGB channel (0 .. 255) as linear light, 0 .. 1.
double linear(int channel) {
  const double v = channel / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

}  // namespace

double relativeLuminance(Rgb c) noexcept {
  return 0.2126 * linear(redOf(c)) + 0.7152 * linear(greenOf(c)) + 0.0722 * linear(blueOf(c));
}

Rgb contrastingOutline(Rgb c) noexcept {
  constexpr double kFlare = 0.05;  // the viewing flare of the contrast ratio
  const double l = relativeLuminance(c);
  const double againstBlack = (l + kFlare) / kFlare;
  const double againstWhite = (1.0 + kFlare) / (l + kFlare);
  return againstBlack >= againstWhite ? kBlack : kWhite;
}

}  // namespace orbelle::raster
