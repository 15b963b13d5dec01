#include "render_overlay.hpp"

#include <optional>

#include "ini/date_time.hpp"
#include "sun/local_clock.hpp"
#include "sun/sun_overlay.hpp"

namespace orbelle::app {

void drawRenderOverlay(raster::Surface& picture, geo::MapPlane& plane,
                       const RenderOptions& options) {
  if (!options.sun && !options.pathTo) return;
  DateTime utc = systemUtcNow();
  if (options.sunAt) {
    const UtcInstant& t = *options.sunAt;
    utc = makeDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
  }
  std::optional<PathTarget> path;
  if (options.pathTo) path = PathTarget{options.pathTo->first, options.pathTo->second};
  drawSunOverlay(picture, plane, utc, options.sun, path);
}

}  // namespace orbelle::app
