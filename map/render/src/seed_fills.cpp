#include "render/seed_fills.hpp"

#include "render/fill_seeds.hpp"
#include "render/flood_fill_at.hpp"

namespace orbelle::render {

namespace {

void fillOne(const geo::MapPlane& plane, raster::Surface& surface, const PassOptions& options,
             bool CancelDraw, const FillSeed& seed, SeedFigures& figures) {
  const raster::Rgb colour = seed.color == SeedColor::Ice ? options.IceColor : options.WaterColor;
  const FillResult result =
      FloodFillAt(plane, surface, seed.lat, seed.lon, colour, false, options.LandColor, CancelDraw);
  if (result.outcome == FillOutcome::Filled) ++figures.filled;
  if (result.outcome == FillOutcome::TooNearShore) ++figures.tooNearShore;
}

}  // namespace

SeedFigures fillSeeds(const geo::MapPlane& plane, raster::Surface& surface,
                      const PassOptions& options, bool CancelDraw) {
  SeedFigures figures;
  for (const FillSeed& seed : kSeedTable) {
    fillOne(plane, surface, options, CancelDraw, seed, figures);
  }
  for (const FillSeed& seed : extraSeeds()) {
    fillOne(plane, surface, options, CancelDraw, seed, figures);
  }
  return figures;
}

}  // namespace orbelle::render
