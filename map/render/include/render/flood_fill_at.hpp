#pragma once

// FloodFillAt: fills the region of the map layer under a position.
//
// The position is projected from the station (not rounded) and its pixel found with ties-to-even
// rounding. A forced fill replaces the 4-connected region of that pixel's colour with the new
// colour. An unforced fill (a seed) acts only on a pixel of the land colour, and only when the
// seed lies clear of every outline: each pixel within seedClearancePixels of it (a square)
// must also have the land colour. Pixels beyond the surface's edge do not count against it.
//
// Why the clearance: a seed lies in its water body on the globe, but its pixel is up to half a
// pixel diagonal away, and the drawn shore up to the line's own half pixel plus the rounding of
// its vertices to whole miles (and their pixels) away from the true shore. When no outline pixel
// lies within that sum of the seed's pixel, the drawn shore cannot pass between the seed and its
// pixel, so the pixel lies on the water side of the shore as drawn and the fill stays inside the
// outlines that bound the water body. A seed in a lake narrower than that (at this scale) is
// skipped instead of flooding the land around the lake.

#include <cstdint>

#include "geometry/map_plane.hpp"
#include "raster/color.hpp"
#include "raster/surface.hpp"

namespace orbelle::render {

// Largest distance, in pixels, between a true position and the pixel it rounds to (half the
// pixel diagonal), plus the largest distance of a one-pixel line's pixels from the segment between
// its end pixels, plus the rounding of those end points to pixels.
inline constexpr double kSeedPixelErrorPixels = 0.7072 + 0.5 + 0.7072;
// Largest distance of a vertex rounded to whole miles from its true position (half the diagonal
// of a one-mile square).
inline constexpr double kVertexRoundingMiles = 0.7072;

// Half the side of the square around a seed's pixel that must hold only land colour, in pixels:
// ceil(kSeedPixelErrorPixels + kVertexRoundingMiles / milesPerPixel).
int seedClearancePixels(double milesPerPixel) noexcept;

enum class FillOutcome {
  Cancelled,       // CancelDraw was set; nothing looked at
  OffSurface,      // the position's pixel is outside the surface
  NotLand,         // unforced, and the pixel does not have the land colour
  TooNearOutline,  // unforced, and an outline pixel lies within the clearance
  Filled,
};

struct FillResult {
  FillOutcome outcome = FillOutcome::Cancelled;
  int px = 0, py = 0;        // the seed's pixel (when projected)
  std::int64_t painted = 0;  // pixels painted
};

FillResult FloodFillAt(const geo::MapPlane& plane, raster::Surface& surface, double lat, double lon,
                       raster::Rgb colour, bool force, raster::Rgb LandColor, bool CancelDraw);

}  // namespace orbelle::render
