#pragma once

// The map window's public fields that are plain values. The station, the map radius, the
// surface scale and the path line live in the map plane shared with the drawing code.

#include <cstdint>

#include "plane/map_plane.hpp"
#include "raster/color.hpp"

namespace orbelle::shell {

struct FormState {
  // LatHere, LonHere, MaxDx (statute miles), MilesPerPixel, PictureWidthPx, PathShown, ...
  geo::MapPlane plane;
  double UTCOffset = 0.0;         // hours added to the local clock to obtain UTC
  double UTCOffsetSeconds = 0.0;  // UTCOffset × 3600
  bool ShowSun = false;
  bool ShowRivers = false;
  bool ShowSpots = false;
  bool ShowSpotBy = false;
  bool ShowConnectingLines = false;
  std::int16_t MaxSpots = 25;
  bool AlwaysOnTop = false;
  bool PaintDeferred = false;  // the pointer moves over the map: repaints keep the overlay
  bool MapCached = false;      // the cache file exists and Image1 holds it
  raster::Rgb LandColor = 0;
  raster::Rgb WaterColor = 0;
  raster::Rgb IceColor = 0;
  // Window size in twips after the last completed resize (restored while Drawing).
  std::int32_t SavedWidth = 0;
  std::int32_t SavedHeight = 0;
};

}  // namespace orbelle::shell
