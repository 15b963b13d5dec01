#include "layout_rules.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "geometry/rounding.hpp"

namespace orbelle::shell {

double twipsPerPixel(double dotsPerInch) {
  if (!(dotsPerInch > 0.0) || !std::isfinite(dotsPerInch)) return kTwipsPerInch / 96.0;
  return kTwipsPerInch / dotsPerInch;
}

int pixelsOf(double twips, double twipsPerPixel) {
  const double px = geo::roundHalfEven(twips / twipsPerPixel);
  if (!std::isfinite(px)) return 0;
  return static_cast<int>(std::clamp(px, -1.0e9, 1.0e9));
}

ResizeOutcome resizeRule(double windowWidthTwips, const SurfaceLimits& limits) {
  ResizeOutcome out;
  double surface = windowWidthTwips - kSurfaceLeftTwips - kSurfaceRightMarginTwips;
  const double held =
      std::clamp(surface, limits.minTwips, std::max(limits.minTwips, limits.maxTwips));
  out.windowWidthTwips = windowWidthTwips;
  if (held != surface) {
    surface = held;
    out.windowWidthTwips = surface + kSurfaceLeftTwips + kSurfaceRightMarginTwips;
  }
  out.surfaceTwips = surface;
  out.windowHeightTwips = 2.0 * kSurfaceTopTwips + surface + kWindowExtraHeightTwips;
  return out;
}

double pixelSizeSurfaceTwips(int pixels, double twipsPerPixel) {
  const long sum = std::clamp(static_cast<long>(pixels) + kPixelSizeExtraPixels, 0L,
                              static_cast<long>(std::numeric_limits<std::int16_t>::max()));
  return static_cast<double>(sum) * twipsPerPixel;
}

double pixelSizeWindowWidthTwips(double surfaceTwips) {
  return kSurfaceLeftTwips + surfaceTwips + kSurfaceTopTwips;
}

int innerPixelsAfterPixelSize(int pixels, double twipsPerPixel, const SurfaceLimits& limits) {
  const double window = pixelSizeWindowWidthTwips(pixelSizeSurfaceTwips(pixels, twipsPerPixel));
  // The window width is applied in whole pixels before the resize rule reads it back.
  const double applied = pixelsOf(window, twipsPerPixel) * twipsPerPixel;
  const ResizeOutcome r = resizeRule(applied, limits);
  return pixelsOf(r.surfaceTwips, twipsPerPixel) - 2 * kSurfaceBorderPixels;
}

int pixelSizeForInnerWidth(int innerPixels, double twipsPerPixel, const SurfaceLimits& limits) {
  // The finished width grows with the argument by whole steps of about one pixel, offset by a
  // few pixels: search a window around the wanted width.
  constexpr int kSearch = 64;
  int best = innerPixels;
  int bestError = std::numeric_limits<int>::max();
  for (int p = innerPixels - kSearch; p <= innerPixels + kSearch; ++p) {
    const int error = std::abs(innerPixelsAfterPixelSize(p, twipsPerPixel, limits) - innerPixels);
    if (error < bestError) {
      best = p;
      bestError = error;
    }
    if (error == 0) break;
  }
  return best;
}

WindowPosition keepReachable(WindowPosition position, double screenWidthTwips,
                             double screenHeightTwips) {
  if (screenWidthTwips - kReachableMarginTwips < position.left) {
    position.left = screenWidthTwips - kReachableMarginTwips;
  }
  if (screenHeightTwips - kReachableMarginTwips < position.top) {
    position.top = screenHeightTwips - kReachableMarginTwips;
  }
  if (position.left < 0.0) position.left = 0.0;
  if (position.top < 0.0) position.top = 0.0;
  return position;
}

std::int32_t roundedTwips(double twips) {
  const double r = geo::roundHalfEven(twips);
  if (!std::isfinite(r)) return 0;
  return static_cast<std::int32_t>(std::clamp(r, -2.0e9, 2.0e9));
}

}  // namespace orbelle::shell
