#include "spots/slot_layout.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/rounding.hpp"
#include "spots/spot_constants.hpp"

namespace orbelle::spots {
namespace {

// Lines are clipped to the image grown by this many pixels on each side: the ends outside are
// cut off by the painter, and the coordinates stay small whatever the scale.
constexpr double kLineClipMargin = 8.0;

struct PixelCentre {
  double x = 0.0;
  double y = 0.0;
};

// The pixel a map point rounds to (nearest, ties to even, as the surface draws a point).
std::optional<PixelCentre> centreOf(geo::MapPoint point, const PixelScale& scale) {
  const double px = geo::roundHalfEven((point.x - scale.left) / scale.unitWidth);
  const double py = geo::roundHalfEven((point.y - scale.top) / scale.unitHeight);
  if (!std::isfinite(px) || !std::isfinite(py)) return std::nullopt;
  return PixelCentre{px, py};
}

// Liang–Barsky clipping of the segment a → b to [lo, hi] on both axes; false when nothing is
// left.
bool clipSegment(PixelCentre& a, PixelCentre& b, double loX, double hiX, double loY, double hiY) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  double t0 = 0.0;
  double t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - loX, hiX - a.x, a.y - loY, hiY - a.y};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0.0) {
      if (q[k] < 0.0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  const PixelCentre start = a;
  a = {start.x + t0 * dx, start.y + t0 * dy};
  b = {start.x + t1 * dx, start.y + t1 * dy};
  return true;
}

}  // namespace

PixelScale scaleOf(const raster::Surface& surface) {
  return {surface.scaleLeft(),  surface.scaleTop(), surface.unitWidth(),
          surface.unitHeight(), surface.width(),    surface.height()};
}

Visibility visibilityForDrawSpots(const ShowOptions& show, bool spotterKnown) noexcept {
  return {show.ShowSpots, spotterKnown && show.ShowSpotBy,
          spotterKnown && show.ShowConnectingLines};
}

Visibility visibilityForAddSpot(const ShowOptions& show, bool spotterKnown) noexcept {
  Visibility v = visibilityForDrawSpots(show, spotterKnown);
  v.spot = true;
  return v;
}

std::optional<MarkerBox> markerBoxOf(geo::MapPoint point, const PixelScale& scale) {
  const auto centre = centreOf(point, scale);
  if (!centre) return std::nullopt;
  const double left = centre->x - kMarkerHalfPixels;
  const double top = centre->y - kMarkerHalfPixels;
  if (left + kMarkerPixels <= 0.0 || left >= scale.width || top + kMarkerPixels <= 0.0 ||
      top >= scale.height) {
    return std::nullopt;
  }
  return MarkerBox{static_cast<int>(left), static_cast<int>(top)};
}

std::optional<PixelSegment> lineOf(geo::MapPoint from, geo::MapPoint to, const PixelScale& scale) {
  auto a = centreOf(from, scale);
  auto b = centreOf(to, scale);
  if (!a || !b) return std::nullopt;
  if (!clipSegment(*a, *b, -kLineClipMargin, scale.width - 1 + kLineClipMargin, -kLineClipMargin,
                   scale.height - 1 + kLineClipMargin)) {
    return std::nullopt;
  }
  return PixelSegment{a->x, a->y, b->x, b->y};
}

SlotPlacement placeSlot(const SpotRow& row, const PixelScale& scale, Visibility visible) {
  SlotPlacement placement;
  placement.visible = visible;
  if (visible.spot) placement.spotMarker = markerBoxOf(row.spot, scale);
  if (visible.spotter) placement.spotterMarker = markerBoxOf(row.spotter, scale);
  if (visible.line) placement.line = lineOf(row.spot, row.spotter, scale);
  return placement;
}

}  // namespace orbelle::spots
