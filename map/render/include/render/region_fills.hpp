#pragma once

// The water and ice fills of a drawing pass. Every land-coloured region of the map layer (4-
// connected, bounded by the outlines, the rim and the edges) is decided as land, water or ice
// from the shore data itself, and painted:
//
//  1. A region with a pixel deep enough inside it (depthNeeded pixels from anything not land
//     coloured, the surface's edge included) is decided by that pixel: its centre is taken back
//     to the globe and looked up in the shore rings (ShoreTruth). Why that is safe: the drawn
//     shore lies within kVertexRoundingMiles (plus the bend of a straight map line near the
//     antipode) and half a pixel's diagonal of the true shore, and the pixels of a drawn line lie
//     within kLinePixelReach of it; a pixel centre farther than all of that from every outline
//     pixel lies on the same side of the true shore as of the drawn one, so the region gets the
//     side its outlines give it and no land is painted water.
//  2. Any other region (too narrow at this scale) takes the side of a region decided before it
//     on one of its rows, changed by the drawn shores crossed between the two (ShoreCrossings):
//     the side its own outlines give it.
//  3. A region that neither reaches is left land-coloured.
//
// Near the station's antipode the map stretches the globe beyond use: pixels within
// kDeepClearMiles of it are never used for step 1, and pixels within kInnerRimMiles of it (just
// inside the rim) form regions of their own, so that a shore line left undrawn across the
// antipode cannot join a sea to the land beside it.

#include <cstdint>

#include "plane/map_plane.hpp"
#include "raster/surface.hpp"
#include "render/flood_fill_at.hpp"
#include "render/pass_options.hpp"
#include "render/shore_crossings.hpp"
#include "render/shore_truth.hpp"

namespace orbelle::render {

// Largest distance of a one-pixel line's exact segment from its nearest pixel centre, in pixels
// (half a pixel across and half along, times the slope at worst: √(0.5² + 1²)).
inline constexpr double kLinePixelReach = 1.1181;
// A line end rounded to a whole pixel moves by at most kHalfPixelDiagonal pixels, an outline
// vertex rounded to whole miles by at most kVertexRoundingMiles (flood_fill_at.hpp).
// Longest segment of the shore data, in miles (0.12° of arc).
inline constexpr double kLongestShoreSegmentMiles = 8.3;
// Pixels nearer the antipode than this (miles) decide no region by themselves: within it a
// straight map line may bend away from the shore it stands for by more than a mile.
inline constexpr double kDeepClearMiles = 300.0;
// Pixels nearer the antipode than this (miles) are cut off from the rest: every shore line with
// an end farther out than this is drawn (none is long enough to be left undrawn as stretched).
inline constexpr double kInnerRimMiles = 70.0;

// The depth a pixel needs for step 1 on a map of milesPerPixel whose pixels lie at least
// antipodeMiles from the antipode; 0 for a scale of 0 or less.
int depthNeeded(double milesPerPixel, double antipodeMiles) noexcept;

struct RegionFigures {
  int regions = 0;     // land-coloured regions found
  int byDepth = 0;     // decided by a deep pixel
  int byCrossing = 0;  // decided from a neighbour across the drawn shores
  int undecided = 0;   // left land-coloured for want of either
  int water = 0;       // regions painted water
  int ice = 0;         // regions painted ice
};

RegionFigures fillRegions(const geo::MapPlane& plane, raster::Surface& surface,
                          const PassOptions& options, const ShoreTruth& truth,
                          const ShoreCrossings& crossings, bool CancelDraw);

}  // namespace orbelle::render
