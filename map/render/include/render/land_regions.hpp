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

// The land pixels at least depth deep: those whose square of side 2·depth − 1 around them holds
// only land pixels, the pixels beyond the surface's edge counting as not land. One bit per pixel,
// rows of wordsPerRow 64-bit words, bit x % 64 of word x / 64 for column x.
struct DeepLand {
  int wordsPerRow = 0;
  std::vector<std::uint64_t> bits;
  bool at(int x, int y) const noexcept {
    return (bits[static_cast<std::size_t>(y) * wordsPerRow + (x >> 6)] >> (x & 63)) & 1u;
  }
};
DeepLand deepLand(const raster::Surface& surface, raster::Pixel land, int depth);

}  // namespace orbelle::render
