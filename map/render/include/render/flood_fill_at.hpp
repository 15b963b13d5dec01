#pragma once

// FloodFillAt: fills the region of the map layer under a position.
//
// The position is projected from the station (not rounded) and its pixel found with ties-to-even
// rounding. A forced fill replaces the 4-connected region of that pixel's colour with the new
// colour. An unforced fill (a seed) acts only on a pixel of the land colour, and only when the
// seed lies clear of the shores: no pixel within seedClearancePixels of it (a square) has the
// shore colour. Border lines do not count (one that runs through a lake separates water from
// water), nor pixels beyond the surface's edge.
//
// Why the clearance. Let S be the seed's true position, inside its water body, and C its pixel,
// at most h = 0.71 pixel (half the pixel diagonal) from S. A drawn shore lies within
// e = 0.5 + h + v / milesPerPixel pixels of the true shore: half a pixel from Bresenham's line,
// h for rounding its end vertices to pixels, and v = 0.71 mile for rounding them to whole miles.
// If no shore pixel lies within the clearance r of C, every shore pixel is more than
// r + 1 − h pixels from S; r is the least whole number for which that exceeds e. Then
//  - no drawn shore passes between S and C (it would need a pixel within 1.42 of C), and
//  - S lies on the water side of the drawn shore: were the drawn shore between S and the true
//    shore, it would lie within e of S.
// So C lies in the water body as drawn (perhaps beyond a border line that crosses it), and the
// fill stays inside the outlines that bound it. A
// seed in a lake too narrow for that at this scale is skipped instead of flooding the land around
// the lake.

#include <cstdint>

#include "plane/map_plane.hpp"
#include "raster/color.hpp"
#include "raster/surface.hpp"
#include "render/pass_style.hpp"

namespace orbelle::render {

// Half a pixel's diagonal, in pixels: the largest distance from a position to its pixel, and of
// a line's end from the pixel it is rounded to.
inline constexpr double kHalfPixelDiagonal = 0.7072;
// Largest distance of a one-pixel line's pixels from the segment between its end pixels.
inline constexpr double kLinePixelError = 0.5;
// Largest distance of a vertex rounded to whole miles from its true position, in miles.
inline constexpr double kVertexRoundingMiles = 0.7072;

// Half the side of the square around a seed's pixel that must hold only land colour, in pixels:
// the least whole r with r + 1 − h > e (see above); 1 on coarse maps, more as pixels shrink
// below a mile.
int seedClearancePixels(double milesPerPixel) noexcept;

enum class FillOutcome {
  Cancelled,     // CancelDraw was set; nothing looked at
  OffSurface,    // the position's pixel is outside the surface
  NotLand,       // unforced, and the pixel does not have the land colour
  TooNearShore,  // unforced, and a shore pixel lies within the clearance
  Filled,
};

struct FillResult {
  FillOutcome outcome = FillOutcome::Cancelled;
  int px = 0, py = 0;        // the seed's pixel (when projected)
  std::int64_t painted = 0;  // pixels painted
};

// shoreColor: the colour the coasts, islands and lakes are drawn in.
FillResult FloodFillAt(const geo::MapPlane& plane, raster::Surface& surface, double lat, double lon,
                       raster::Rgb colour, bool force, raster::Rgb LandColor, bool CancelDraw,
                       raster::Rgb shoreColor = kShoreColor);

}  // namespace orbelle::render
