#include "render/flood_fill_at.hpp"

#include <cmath>

#include "raster/fill.hpp"

namespace orbelle::render {

int seedClearancePixels(double milesPerPixel) noexcept {
  if (!(milesPerPixel > 0.0)) return 0;
  const double drawnShoreError =
      kLinePixelError + kHalfPixelDiagonal + kVertexRoundingMiles / milesPerPixel;
  // r + 1 − h > e  ⟺  r > e + h − 1.
  const double bound = drawnShoreError + kHalfPixelDiagonal - 1.0;
  // Scales of a few thousandths of a mile per pixel do not occur; keep the square bounded.
  constexpr double kMostPixels = 4096.0;
  return static_cast<int>(std::floor(std::fmin(bound, kMostPixels))) + 1;
}

namespace {

bool clearOfShores(const raster::Surface& surface, int px, int py, int radius,
                   raster::Pixel shore) {
  const int x0 = std::max(0, px - radius), x1 = std::min(surface.width() - 1, px + radius);
  const int y0 = std::max(0, py - radius), y1 = std::min(surface.height() - 1, py + radius);
  const raster::Pixel* pixels = surface.pixels();
  for (int y = y0; y <= y1; ++y) {
    const raster::Pixel* row = pixels + static_cast<std::size_t>(y) * surface.stride();
    for (int x = x0; x <= x1; ++x) {
      if (row[x] == shore) return false;
    }
  }
  return true;
}

}  // namespace

FillResult FloodFillAt(const geo::MapPlane& plane, raster::Surface& surface, double lat, double lon,
                       raster::Rgb colour, bool force, raster::Rgb LandColor, bool CancelDraw,
                       raster::Rgb shoreColor) {
  FillResult result;
  if (CancelDraw) return result;

  const geo::MapPoint point = plane.ProjectPoint(lat, lon);
  const geo::PixelIndex pixel = geo::pixelIndexOf(plane, surface, point);
  result.px = pixel.px;
  result.py = pixel.py;
  const std::optional<raster::Rgb> c = surface.pixel(pixel.px, pixel.py);
  if (!c) {
    result.outcome = FillOutcome::OffSurface;
    return result;
  }
  if (!force) {
    if (*c != (LandColor & 0xffffffu)) {
      result.outcome = FillOutcome::NotLand;
      return result;
    }
    const int radius = seedClearancePixels(plane.MilesPerPixel);
    if (!clearOfShores(surface, pixel.px, pixel.py, radius, raster::toPixel(shoreColor))) {
      result.outcome = FillOutcome::TooNearShore;
      return result;
    }
  }
  result.painted = raster::floodFill(surface, pixel.px, pixel.py, colour);
  result.outcome = FillOutcome::Filled;
  return result;
}

}  // namespace orbelle::render
