#pragma once

// The fixed numbers and colours of the spot overlay, each named once.

#include <cstdint>

#include "raster/color.hpp"

namespace orbelle::spots {

// Bounds applied to the MaxSpots setting before the ring is built. Below 1 there would be no
// slot to fill; above 2000 the window would carry more than 4000 marker widgets, which makes
// clearing and redrawing slow enough to be felt, for more spots than a map can show legibly.
inline constexpr std::int16_t kMinMaxSpots = 1;
inline constexpr std::int16_t kMaxMaxSpots = 2000;

// Column 3 of a cleared row.
inline constexpr std::int32_t kEmptySlotColor = -1;

// A spotter is known when its latitude is at least this value (−90 itself is known).
inline constexpr double kSpotterKnownFromLatitude = -90.0;

// Markers are filled squares of this many pixels a side, centred on their point: the top-left
// corner lies kMarkerHalfPixels left of and above the point's pixel.
inline constexpr int kMarkerPixels = 7;
inline constexpr int kMarkerHalfPixels = 3;

// Colours of the hidden template elements and of the connecting lines.
inline constexpr raster::Rgb kSpotTemplateColor = raster::rgb(255, 0, 255);
inline constexpr raster::Rgb kSpotterTemplateColor = raster::rgb(192, 192, 192);
inline constexpr raster::Rgb kConnectingLineColor = raster::rgb(224, 224, 224);
inline constexpr int kConnectingLinePixels = 1;

}  // namespace orbelle::spots
