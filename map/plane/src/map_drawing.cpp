#include "plane/map_drawing.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/great_circle.hpp"
#include "geometry/rounding.hpp"

namespace orbelle::geo {

double DrawPoint(const MapPlane& plane, raster::Surface& surface, double LatDeg, double LonDeg,
                 raster::Rgb Color, std::int16_t Width) {
  const DistanceBearingResult db = DistanceBearing(plane.LatHere, plane.LonHere, LatDeg, LonDeg);
  surface.setPenWidth(Width);
  // The surface takes dot positions in single precision.
  const float x = static_cast<float>(db.miles * std::sin(db.bearing * kDegToRad));
  const float y = static_cast<float>(db.miles * std::cos(db.bearing * kDegToRad));
  surface.dot(x, y, Color);
  return db.miles;
}

namespace {

// The path line in XOR mode and the station marker over its start; leaves copy mode, width 3.
void drawPathLine(const MapPlane& plane, raster::Surface& surface) {
  surface.setMode(raster::DrawMode::Xor);
  surface.setPenWidth(kPathPenWidth);
  surface.line(0.0, 0.0, plane.PathX, plane.PathY, raster::kWhite);
  surface.setMode(raster::DrawMode::Copy);
  surface.setPenWidth(kStationMarkPenWidth);
  surface.dot(0.0, 0.0, raster::kRed);
}

}  // namespace

void DrawPath(MapPlane& plane, raster::Surface& surface, double LatDeg, double LonDeg,
              bool drawing) {
  if (drawing) return;
  surface.setMode(raster::DrawMode::Xor);
  surface.setPenWidth(kPathPenWidth);
  if (plane.PathShown) surface.line(0.0, 0.0, plane.PathX, plane.PathY, raster::kWhite);
  if (LatDeg < kPathClearBelowLatitude) {
    plane.PathShown = false;
    surface.setMode(raster::DrawMode::Copy);
    return;
  }
  const DistanceBearingResult db = DistanceBearing(plane.LatHere, plane.LonHere, LatDeg, LonDeg);
  plane.PathX = toInt16HalfEven(db.miles * std::sin(db.bearing * kDegToRad));
  plane.PathY = toInt16HalfEven(db.miles * std::cos(db.bearing * kDegToRad));
  drawPathLine(plane, surface);
  plane.PathShown = true;
}

std::optional<MapPoint> headingLineEnd(double headingDeg) {
  if (!std::isfinite(headingDeg)) return std::nullopt;
  const double r = headingDeg * kDegToRad;
  return MapPoint{kAntipodeMiles * std::sin(r), kAntipodeMiles * std::cos(r)};
}

void redrawPath(const MapPlane& plane, raster::Surface& surface) {
  if (plane.PathShown) drawPathLine(plane, surface);
}

}  // namespace orbelle::geo
