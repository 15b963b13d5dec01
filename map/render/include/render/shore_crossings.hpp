#pragma once

// The shore lines as the map layer holds them, for telling on which side of them a pixel lies.
// While the coast, island and lake files are drawn, the outline reader hands every line it
// draws to add() (and every polyline start to beginRing()); each line is kept as the surface
// draws it: from pixel to pixel, its ends rounded to whole pixels, ties to even. Then, for each
// pixel row, the places where those lines cross the row's centre line are listed.
//
// Why this tells sides: a one-pixel line steps one pixel along its major axis at a time and
// takes the pixel nearest to the exact segment, so the segment never passes between two
// 4-neighbouring pixels that are both off the line. Two pixels of one land-coloured region thus
// lie on the same side of every drawn shore, and walking along a row from one pixel to another,
// the drawn shores crossed between them say how their sides differ.
//
// A row's centre line meets a line's end vertex on the row as if moved an infinitesimal step
// down (a vertex on the row counts as above it), so each closed ring is crossed an even number
// of times along the whole row.

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/ring_index.hpp"
#include "raster/surface.hpp"

namespace orbelle::render {

class ShoreCrossings {
 public:
  // The surface must have its map scale already; its size and scale are read now.
  explicit ShoreCrossings(const raster::Surface& surface);

  // A new polyline starts: the lines added after it belong to the next ring.
  void beginRing() noexcept { ++ring_; }
  // The surface's mapping as read when this was made.
  raster::PixelMapping mapping() const noexcept { return {left_, top_, unitWidth_, unitHeight_}; }
  // A line drawn from (x1, y1) to (x2, y2), map miles as handed to the surface.
  void add(double x1, double y1, double x2, double y2);
  // The same line given by its whole pixels under mapping().
  void add(raster::WholePixel from, raster::WholePixel to);

  // Lists the crossings per row; ringMasks[r] is the mask of ring r (rings numbered from 0 in
  // the order of beginRing calls), 0 for a ring without one.
  void build(std::span<const geo::RingMask> ringMasks);

  // XOR of the masks of the lines crossing row y strictly between pixel columns xa and xb.
  geo::RingMask between(int y, int xa, int xb) const noexcept;

  std::size_t lineCount() const noexcept { return lines_.size(); }

 private:
  struct PixelLine {
    std::int32_t x1, y1, x2, y2;
    std::int32_t ring;
  };
  struct Crossing {
    double x;
    geo::RingMask mask;
  };

  std::int64_t pixelX(double x) const noexcept;
  std::int64_t pixelY(double y) const noexcept;
  // Keeps a line that crosses a row centre inside the surface, unless it lies wholly left or
  // right of it.
  void keep(std::int64_t px1, std::int64_t py1, std::int64_t px2, std::int64_t py2);

  int width_;
  int height_;
  double left_, top_, unitWidth_, unitHeight_;
  std::int32_t ring_ = -1;
  // The last line's end and its pixel row: the next line usually starts there.
  double lastY_ = 0.0;
  std::int64_t lastPixelY_ = 0;
  bool haveLast_ = false;
  std::vector<PixelLine> lines_;
  std::vector<std::uint32_t> rowStart_;  // per row, into crossings_; one more at the end
  std::vector<Crossing> crossings_;      // per row, west to east
};

}  // namespace orbelle::render
