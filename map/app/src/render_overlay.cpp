#include "render_overlay.hpp"

#include "geometry/map_drawing.hpp"

namespace orbelle::app {

void drawRenderOverlay(raster::Surface& picture, geo::MapPlane& plane,
                       const RenderOptions& options) {
  if (options.pathTo) {
    geo::DrawPath(plane, picture, options.pathTo->first, options.pathTo->second, false);
  }
}

}  // namespace orbelle::app
