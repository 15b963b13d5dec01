#include "plane/map_plane.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/rounding.hpp"

namespace orbelle::geo {

std::int16_t MapPlane::mapRadius() const noexcept { return std::max(MaxDx, kMinMapRadiusMiles); }

MapPoint MapPlane::ProjectPoint(double lat, double lon) const {
  return geo::ProjectPoint(LatHere, LonHere, lat, lon);
}

void SetMapScale(MapPlane& plane, raster::Surface& surface) {
  surface.setPixelScale();
  plane.PictureWidthPx = static_cast<std::int16_t>(surface.width());
  plane.PictureHeightPx = static_cast<std::int16_t>(surface.height());

  const double left = -static_cast<double>(plane.mapRadius());
  const double top = -left;
  surface.setScale(left, top, std::fabs(left) * 2.0, -(std::fabs(top) * 2.0));
  plane.MilesPerPixel = surface.unitWidth();
}

PixelPoint pixelOf(const MapPlane& plane, const raster::Surface& surface, MapPoint point) {
  return {(point.x - surface.scaleLeft()) / plane.MilesPerPixel,
          (surface.scaleTop() - point.y) / plane.MilesPerPixel};
}

namespace {

// A pixel coordinate as an int, saturated well outside any surface.
int toPixelIndex(double coordinate) {
  constexpr double kFar = 1 << 30;
  if (std::isnan(coordinate)) return static_cast<int>(-kFar);
  return static_cast<int>(std::clamp(roundHalfEven(coordinate), -kFar, kFar));
}

}  // namespace

PixelIndex pixelIndexOf(const MapPlane& plane, const raster::Surface& surface, MapPoint point) {
  const PixelPoint p = pixelOf(plane, surface, point);
  return {toPixelIndex(p.px), toPixelIndex(p.py)};
}

}  // namespace orbelle::geo
