#pragma once

// The overlay of a rendered map: what the map window's overlay refresh draws over the cached
// map (the sun, the gray line and the path line), drawn once on the finished picture.

#include "plane/map_plane.hpp"
#include "raster/surface.hpp"
#include "render_options.hpp"

namespace orbelle::app {

// Draws the overlay the options ask for (--sun, --path) on picture, which holds the finished map
// in the plane's map coordinates. Nothing when neither is asked for.
void drawRenderOverlay(raster::Surface& picture, geo::MapPlane& plane,
                       const RenderOptions& options);

}  // namespace orbelle::app
