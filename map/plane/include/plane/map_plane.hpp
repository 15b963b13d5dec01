#pragma once

// The map plane's state as the drawing code needs it: the station, the map radius, the surface
// scale of the last SetMapScale and the path line's end point. The window owns one MapPlane;
// its fields carry the names the rest of the map program uses.
//
// Map plane: statute miles, the station at (0, 0), x east (right), y north (up). The surface is
// scaled so that its left edge is x = −R, its right edge x = +R, its top edge y = +R and its
// bottom edge y = −R, where R = mapRadius().

#include <cstdint>

#include "geometry/constants.hpp"
#include "geometry/projection.hpp"
#include "raster/surface.hpp"

namespace orbelle::geo {

// Continuous pixel position (not rounded) and a single addressed pixel.
struct PixelPoint {
  double px = 0.0;
  double py = 0.0;
};
struct PixelIndex {
  int px = 0;
  int py = 0;
};

struct MapPlane {
  // Station, decimal degrees, north and east positive.
  double LatHere = 0.0;
  double LonHere = 0.0;
  // Map radius in statute miles: the distance from the centre to each side of the square map.
  // Not limited here; see mapRadius(). The window loads it from the settings.
  std::int16_t MaxDx = kWholeEarthMiles;

  // Refreshed by SetMapScale; valid once it has run.
  double MilesPerPixel = 0.0;        // map miles covered by one pixel
  std::int16_t PictureWidthPx = 0;   // surface width in pixels
  std::int16_t PictureHeightPx = 0;  // surface height in pixels

  // Path line of DrawPath: shown or not, and its far end in map miles (rounded, ties to even).
  bool PathShown = false;
  std::int16_t PathX = 0;
  std::int16_t PathY = 0;

  // The radius the surface is scaled to: MaxDx, or kMinMapRadiusMiles (1 mile) when MaxDx is 0 or
  // negative (a value the kilometre entry or stored settings may hold). Code that draws relative
  // to the map's edges uses this, not MaxDx.
  std::int16_t mapRadius() const noexcept;

  // Map position of (lat, lon) in degrees as seen from (LatHere, LonHere); the literal projection.
  MapPoint ProjectPoint(double lat, double lon) const;
};

// Puts the surface into map coordinates for plane.mapRadius() and the surface's pixel size:
// left = −R, top = +R, width = 2R, height = −2R (y grows upwards), and refreshes MilesPerPixel
// (= 2R / pixel width), PictureWidthPx and PictureHeightPx.
void SetMapScale(MapPlane& plane, raster::Surface& surface);

// Pixel position of a map point: px = (x − left) / MilesPerPixel, py = (top − y) / MilesPerPixel,
// with left and top read back from the surface's scale.
PixelPoint pixelOf(const MapPlane& plane, const raster::Surface& surface, MapPoint point);

// The single pixel of a map point: both coordinates of pixelOf rounded to the nearest integer,
// ties to even. Positions far outside the surface saturate to a pixel that is still outside it
// (a caller's pixel read then finds nothing).
PixelIndex pixelIndexOf(const MapPlane& plane, const raster::Surface& surface, MapPoint point);

}  // namespace orbelle::geo
