#include "render/shore_crossings.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/rounding.hpp"

namespace orbelle::render {

namespace {

// The surface's own conversion of a continuous pixel coordinate to a whole pixel: clamped far
// outside any surface, then nearest, ties to even.
std::int64_t wholePixel(double coordinate) noexcept {
  constexpr double kFar = static_cast<double>(1 << 28);
  return geo::roundHalfEvenSmall(std::clamp(coordinate, -kFar, kFar));
}

}  // namespace

ShoreCrossings::ShoreCrossings(const raster::Surface& surface)
    : width_(surface.width()),
      height_(surface.height()),
      left_(surface.scaleLeft()),
      top_(surface.scaleTop()),
      unitWidth_(surface.unitWidth()),
      unitHeight_(surface.unitHeight()) {}

std::int64_t ShoreCrossings::pixelX(double x) const noexcept {
  return wholePixel((x - left_) / unitWidth_);
}
std::int64_t ShoreCrossings::pixelY(double y) const noexcept {
  return wholePixel((y - top_) / unitHeight_);
}

void ShoreCrossings::add(double x1, double y1, double x2, double y2) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
  const std::int64_t py1 = haveLast_ && y1 == lastY_ ? lastPixelY_ : pixelY(y1);
  const std::int64_t py2 = pixelY(y2);
  lastY_ = y2;
  lastPixelY_ = py2;
  haveLast_ = true;
  // Only lines that cross a row centre inside the surface matter.
  if (py1 == py2 || std::max(py1, py2) < 0 || std::min(py1, py2) >= height_) return;
  keep(pixelX(x1), py1, pixelX(x2), py2);
}

void ShoreCrossings::add(raster::WholePixel from, raster::WholePixel to) {
  haveLast_ = false;
  if (!from.finite || !to.finite) return;
  if (from.y == to.y || std::max(from.y, to.y) < 0 || std::min(from.y, to.y) >= height_) return;
  keep(from.x, from.y, to.x, to.y);
}

void ShoreCrossings::keep(std::int64_t px1, std::int64_t py1, std::int64_t px2, std::int64_t py2) {
  if (std::max(px1, px2) < 0 || std::min(px1, px2) >= width_) return;
  lines_.push_back({static_cast<std::int32_t>(px1), static_cast<std::int32_t>(py1),
                    static_cast<std::int32_t>(px2), static_cast<std::int32_t>(py2), ring_});
}

void ShoreCrossings::build(std::span<const geo::RingMask> ringMasks) {
  auto maskOf = [&](std::int32_t ring) -> geo::RingMask {
    return ring >= 0 && static_cast<std::size_t>(ring) < ringMasks.size() ? ringMasks[ring] : 0;
  };
  // Rows y with (y1 > y) != (y2 > y): from min(y1, y2) to max(y1, y2) − 1, within the surface.
  auto rows = [&](const PixelLine& l, auto&& each) {
    const int first = std::max(0, std::min(l.y1, l.y2));
    const int last = std::min(height_ - 1, std::max(l.y1, l.y2) - 1);
    for (int y = first; y <= last; ++y) each(y);
  };
  rowStart_.assign(static_cast<std::size_t>(height_) + 1, 0);
  for (const PixelLine& l : lines_) {
    if (maskOf(l.ring) == 0) continue;
    rows(l, [&](int y) { ++rowStart_[static_cast<std::size_t>(y) + 1]; });
  }
  for (std::size_t i = 1; i < rowStart_.size(); ++i) rowStart_[i] += rowStart_[i - 1];
  crossings_.resize(rowStart_.back());
  std::vector<std::uint32_t> fill(rowStart_.begin(), rowStart_.end() - 1);
  for (const PixelLine& l : lines_) {
    const geo::RingMask mask = maskOf(l.ring);
    if (mask == 0) continue;
    rows(l, [&](int y) {
      const double t = static_cast<double>(y - l.y1) / (l.y2 - l.y1);
      crossings_[fill[static_cast<std::size_t>(y)]++] = {l.x1 + t * (l.x2 - l.x1), mask};
    });
  }
  for (int y = 0; y < height_; ++y) {
    std::sort(crossings_.begin() + rowStart_[static_cast<std::size_t>(y)],
              crossings_.begin() + rowStart_[static_cast<std::size_t>(y) + 1],
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
  }
}

geo::RingMask ShoreCrossings::between(int y, int xa, int xb) const noexcept {
  if (y < 0 || y >= height_ || rowStart_.empty()) return 0;
  const double lo = std::min(xa, xb), hi = std::max(xa, xb);
  const auto first = crossings_.begin() + rowStart_[static_cast<std::size_t>(y)];
  const auto last = crossings_.begin() + rowStart_[static_cast<std::size_t>(y) + 1];
  auto it = std::upper_bound(first, last, lo, [](double v, const Crossing& c) { return v < c.x; });
  geo::RingMask mask = 0;
  for (; it != last && it->x < hi; ++it) mask ^= it->mask;
  return mask;
}

}  // namespace orbelle::render
