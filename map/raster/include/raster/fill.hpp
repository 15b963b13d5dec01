#pragma once

// Flood fill of the 4-connected region of one exact colour. Walking the region and painting it
// are separate steps, so a caller can look at a region (its size, its extent) before deciding
// to paint it. No recursion: a scanline stack and a visited bit mask. A region bounded by any
// 8-connected line (every one-pixel line and every stroke of surface.hpp) never leaks through it.

#include <cstdint>
#include <vector>

#include "raster/color.hpp"
#include "raster/surface.hpp"

namespace orbelle::raster {

struct Span {
  int y = 0;
  int x0 = 0;  // first pixel, inclusive
  int x1 = 0;  // last pixel, inclusive
};

struct FillRegion {
  Rgb color = 0;            // the colour every pixel of the region has
  std::vector<Span> spans;  // disjoint row runs, in no particular order
  std::int64_t pixelCount = 0;
  int minX = 0, minY = 0, maxX = -1, maxY = -1;  // bounding box, empty when maxX < minX

  bool empty() const noexcept { return pixelCount == 0; }
};

// The region of pixels of exactly the colour of pixel (px, py) that are 4-connected to it. A
// seed outside the surface gives an empty region.
FillRegion findRegion(const Surface& surface, int px, int py);

// Writes color over every pixel of the region through the surface's current mode.
void paintRegion(Surface& surface, const FillRegion& region, Rgb color);

// findRegion followed by paintRegion; returns the number of pixels painted (0 outside).
std::int64_t floodFill(Surface& surface, int px, int py, Rgb color);

}  // namespace orbelle::raster
