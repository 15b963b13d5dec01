#pragma once

// The two drawing operations that are the projection applied to the surface: a dot at a
// position, and the straight path line from the station. Both draw on whatever surface they are
// handed (the map layer during a drawing pass, the overlay afterwards). Positions are decimal
// degrees, north and east positive; the surface must have been put into map coordinates by
// SetMapScale.

#include <cstdint>
#include <optional>

#include "plane/map_plane.hpp"
#include "raster/color.hpp"
#include "raster/surface.hpp"

namespace orbelle::geo {

// Sets the surface's pen width to Width pixels (it stays so) and plots one dot of colour Color
// (the pen colour is not changed) at the projected position, handed to the surface in single
// precision. Returns the distance in miles from the station, also when the dot falls outside
// the visible square.
double DrawPoint(const MapPlane& plane, raster::Surface& surface, double LatDeg, double LonDeg,
                 raster::Rgb Color, std::int16_t Width);

// Shows the short great-circle path from the station to (LatDeg, LonDeg) as a straight white XOR
// line of width 2 from the centre, erasing the previous path line first, then redraws the red
// station marker (width 3, copy mode) over its start. LatDeg below −90 only erases the previous
// line (PathShown becomes false; the pen width stays 2); exactly −90 is drawn. While drawing
// is true (a drawing pass or the save dialog runs) the call does nothing. Leaves the surface in
// copy mode.
void DrawPath(MapPlane& plane, raster::Surface& surface, double LatDeg, double LonDeg,
              bool drawing);

// The far end of the line that shows a heading (degrees clockwise from north) on the map: the
// great circle leaving the station at that heading is a straight line from the centre, drawn
// out to the antipode (kAntipodeMiles). Nothing for a heading that is not finite.
std::optional<MapPoint> headingLineEnd(double headingDeg);

// Draws the path line again at (PathX, PathY) as DrawPath does (XOR line, station marker)
// without changing PathX, PathY or PathShown; nothing when PathShown is false. Used when the
// overlay has been rebuilt from the cached map.
void redrawPath(const MapPlane& plane, raster::Surface& surface);

}  // namespace orbelle::geo
