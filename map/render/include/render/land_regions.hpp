#pragma once

// The land-coloured regions of the map layer as the fills see them: maximal 4-connected sets of
// pixels of exactly the land colour, found by one scan of the pixel rows (row runs joined by a
// union-find), and the depth of every land pixel. No drawing: the caller decides and paints.

#include <cstdint>
#include <span>
#include <vector>

#include "raster/color.hpp"
#include "raster/surface.hpp"

namespace orbelle::render {

struct LandRun {
  int y = 0;
  int x0 = 0;  // first pixel, inclusive
  int x1 = 0;  // last pixel, inclusive
  int region = 0;
};

// The pixels x0 .. x1 of a row (inclusive) that lie inside a disc; empty when x1 < x0.
struct RowInterval {
  int x0 = 0;
  int x1 = -1;
  bool contains(int x) const noexcept { return x >= x0 && x <= x1; }
};

struct LandRegions {
  std::vector<LandRun> runs;        // row by row, left to right within a row
  std::vector<std::size_t> rowRun;  // per row, its first run; one more entry at the end
  int count = 0;                    // regions, numbered 0 .. count − 1
};

// The regions of pixels equal to land. When inner is not empty (one interval per row), a pixel
// inside its row's interval and one outside it never share a region, as if a line were drawn
// between them.
LandRegions findLandRegions(const raster::Surface& surface, raster::Pixel land,
                            std::span<const RowInterval> inner = {});

// Per pixel (row-major), the chessboard distance from a land pixel to the nearest pixel that is
// not land, counting the pixels beyond the surface's edge as not land (saturated at 255); 0 for
// pixels that are not land. A pixel of depth d has every pixel within d − 1 of it (a square of
// side 2d − 1) land.
std::vector<std::uint8_t> landDepth(const raster::Surface& surface, raster::Pixel land);

}  // namespace orbelle::render
