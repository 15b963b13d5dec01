#pragma once

// The water and ice fills of a drawing pass: FloodFillAt, not forced, for every seed of the
// table and then every extra seed, in order.

#include "plane/map_plane.hpp"
#include "raster/surface.hpp"
#include "render/pass_options.hpp"

namespace orbelle::render {

struct SeedFigures {
  int filled = 0;        // seeds that painted a region
  int tooNearShore = 0;  // seeds on land colour skipped for lying too close to a shore
};

SeedFigures fillSeeds(const geo::MapPlane& plane, raster::Surface& surface,
                      const PassOptions& options, bool CancelDraw);

}  // namespace orbelle::render
