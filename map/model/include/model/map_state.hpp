#pragma once

// The map's state that is plain values. The station, the map radius, the surface scale and the
// path line live in the map plane shared with the drawing code; the names are the ones the rest
// of the program uses.

#include <cstdint>
#include <limits>

#include "plane/map_plane.hpp"
#include "raster/color.hpp"
#include "render/pass_style.hpp"

namespace orbelle::model {

struct MapState {
  // LatHere, LonHere, MaxDx (statute miles), MilesPerPixel, PictureWidthPx, PathShown, ...
  geo::MapPlane plane;
  double UTCOffset = 0.0;         // hours added to the local clock to obtain UTC
  double UTCOffsetSeconds = 0.0;  // UTCOffset × 3600
  // UTCOffset is the system's (the settings held none) and has not been changed since: it is
  // not written back, so that the next start follows the system's zone again.
  bool UTCOffsetFromSystem = false;
  bool ShowSun = false;
  bool ShowRivers = false;
  bool ShowSpots = false;
  bool ShowSpotBy = false;
  bool ShowConnectingLines = false;
  std::int16_t MaxSpots = 25;
  bool AlwaysOnTop = false;
  bool ShowCalls = false;   // spot markers carry their call as a label
  bool ShadeNight = false;  // the night side is darkened by the overlay refresh
  // The antenna's heading, degrees clockwise from true north, shown as a line from the station;
  // not finite: none shown.
  double AntennaHeading = std::numeric_limits<double>::quiet_NaN();
  bool PaintDeferred = false;  // the pointer moves over the map: repaints keep the overlay
  bool MapCached = false;      // the cache file exists and Image1 holds it
  raster::Rgb LandColor = render::kDefaultLandColor;
  raster::Rgb WaterColor = render::kDefaultWaterColor;
  raster::Rgb IceColor = render::kDefaultIceColor;
};

}  // namespace orbelle::model
