#include "raster/fill.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "surface_text.hpp"

namespace orbelle::raster {
namespace {

using testing::blank;
using testing::picture;
using testing::rows;

constexpr double kPi = 3.141592653589793;

// The region is 4-connected pixels of one exact colour; walking it paints nothing; a seed off the
// surface finds nothing.
TEST(FloodFill, FillsTheFourConnectedRegionOfOneExactColour) {
  Surface s = blank(7, 5);
  s.line(1, 0, 1, 4);
  s.line(5, 0, 5, 4);
  s.line(1, 2, 5, 2);
  s.plotPixel(3, 0, rgb(255, 255, 254));  // one bit off white: not part of the region
  const Surface before = s;
  const FillRegion region = findRegion(s, 2, 1);
  EXPECT_EQ(region.color, kWhite);
  EXPECT_EQ(region.pixelCount, 5);
  EXPECT_EQ(std::tuple(region.minX, region.maxX, region.minY, region.maxY), std::tuple(2, 4, 0, 1));
  EXPECT_EQ(picture(s, kBlack), picture(before, kBlack));
  EXPECT_EQ(floodFill(s, 2, 1, kRed), 5);
  EXPECT_EQ(picture(s, kRed), rows({"..#.#..", "..###..", ".......", ".......", "......."}));

  Surface diagonal = blank(4, 4);
  diagonal.line(0, 3, 3, 0);  // 8-connected: its corners do not connect the two sides
  EXPECT_EQ(floodFill(diagonal, 0, 0, kRed), 6);
  EXPECT_EQ(diagonal.pixel(3, 3), kWhite);
  EXPECT_TRUE(findRegion(diagonal, -1, 0).empty());
  EXPECT_EQ(floodFill(diagonal, 4, 0, kRed), 0);
  EXPECT_EQ(floodFill(diagonal, 0, 99, kRed), 0);
}

TEST(FloodFill, SpansCoverTheRegionOnceAndPaintHonoursXor) {
  Surface s = blank(30, 30);
  s.circle(15, 15, 12);
  s.line(3, 15, 27, 15);
  const FillRegion region = findRegion(s, 15, 10);
  std::vector<int> hits(900, 0);
  for (const Span& span : region.spans) {
    for (int x = span.x0; x <= span.x1; ++x) ++hits[span.y * 30 + x];
  }
  EXPECT_EQ(std::count(hits.begin(), hits.end(), 1), region.pixelCount);
  EXPECT_EQ(std::count(hits.begin(), hits.end(), 0), 900 - region.pixelCount);
  s.setMode(DrawMode::Xor);
  paintRegion(s, region, rgb(0, 255, 0));
  EXPECT_EQ(s.pixel(15, 10), rgb(255, 0, 255));
  paintRegion(s, region, rgb(0, 255, 0));
  EXPECT_EQ(s.pixel(15, 10), kWhite);
}

// Closed polygons of one-pixel lines in random shapes: the inside fill stays within a pixel of the
// polygon.
TEST(FloodFill, NeverLeaksOutOfClosedPolygons) {
  std::mt19937 rng(31);
  std::uniform_real_distribution<double> radius(8.0, 38.0), jitter(0.0, 1.0);
  for (int i = 0; i < 300; ++i) {
    const int corners = 4 + i % 9;  // angular gaps below 180°: the centre is inside
    std::vector<double> xs, ys;
    for (int k = 0; k < corners; ++k) {
      const double a = (k + 0.8 * jitter(rng)) * 2 * kPi / corners;
      const double r = radius(rng);
      xs.push_back(40 + r * std::cos(a));
      ys.push_back(40 + r * std::sin(a));
    }
    Surface s = blank(81, 81);
    s.moveTo(xs.back(), ys.back());
    for (int k = 0; k < corners; ++k) s.lineTo(xs[k], ys[k]);
    if (s.pixel(40, 40) != kWhite) continue;
    floodFill(s, 40, 40, kRed);
    EXPECT_NE(s.pixel(0, 0), kRed);
    for (int y = 0; y < 81; ++y) {
      for (int x = 0; x < 81; ++x) {
        if (s.pixel(x, y) != kRed) continue;
        // Crossing-number test against the polygon, or within 1 of an edge.
        bool inside = false;
        double nearest = 1e9;
        for (int k = 0, j = corners - 1; k < corners; j = k++) {
          if ((ys[k] > y) != (ys[j] > y) &&
              x < (xs[j] - xs[k]) * (y - ys[k]) / (ys[j] - ys[k]) + xs[k]) {
            inside = !inside;
          }
          const double ex = xs[j] - xs[k], ey = ys[j] - ys[k];
          const double t =
              std::clamp(((x - xs[k]) * ex + (y - ys[k]) * ey) / (ex * ex + ey * ey), 0.0, 1.0);
          nearest = std::min(nearest, std::hypot(x - xs[k] - t * ex, y - ys[k] - t * ey));
        }
        ASSERT_TRUE(inside || nearest <= 1.0) << "polygon " << i << " leaks at " << x << "," << y;
      }
    }
  }
}

// A serpentine corridor one pixel wide: tens of thousands of runs, no recursion to overflow.
TEST(FloodFill, LongCorridorIsFilledWhole) {
  const int size = 1001;
  Surface s = blank(size, size);
  std::int64_t corridor = static_cast<std::int64_t>((size + 1) / 2) * size;
  for (int y = 1; y < size; y += 2, ++corridor) {  // walls with a gap at alternate ends
    if ((y / 2) % 2 == 0) {
      s.line(0, y, size - 2, y);
    } else {
      s.line(1, y, size - 1, y);
    }
  }
  EXPECT_EQ(floodFill(s, 0, 0, kRed), corridor);
  EXPECT_EQ(s.pixel(size - 1, size - 1), kRed);
}

}  // namespace
}  // namespace orbelle::raster
