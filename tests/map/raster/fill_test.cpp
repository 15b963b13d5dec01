#include "raster/fill.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "surface_text.hpp"

namespace orbelle::raster {
namespace {

using testing::blank;
using testing::picture;
using testing::rows;

// Regions are 4-connected pixels of one exact colour whose spans cover each pixel once; walking
// paints nothing; seeds off the surface fill nothing.
TEST(FloodFill, FillsTheFourConnectedRegionOfOneExactColour) {
  Surface s = blank(7, 5);
  s.line(1, 0, 1, 4);
  s.line(5, 0, 5, 4);
  s.line(1, 2, 5, 2);
  s.plotPixel(3, 0, rgb(255, 255, 254));  // one bit off white: not part of the region
  const Surface before = s;
  const FillRegion region = findRegion(s, 2, 1);
  EXPECT_EQ(region.color, kWhite);
  EXPECT_EQ(std::tuple(region.minX, region.maxX, region.minY, region.maxY), std::tuple(2, 4, 0, 1));
  std::vector<int> hits(35, 0);
  for (const Span& span : region.spans) {
    for (int x = span.x0; x <= span.x1; ++x) ++hits[span.y * 7 + x];
  }
  EXPECT_EQ(std::count(hits.begin(), hits.end(), 1), 5);
  EXPECT_EQ(std::count(hits.begin(), hits.end(), 1), region.pixelCount);
  EXPECT_EQ(picture(s, kWhite), picture(before, kWhite));
  EXPECT_EQ(floodFill(s, 2, 1, kRed), 5);
  EXPECT_EQ(picture(s, kRed), rows({"..#.#..", "..###..", ".......", ".......", "......."}));

  Surface diagonal = blank(4, 4);
  diagonal.line(0, 3, 3, 0);  // 8-connected: its corners do not connect the two sides
  EXPECT_EQ(floodFill(diagonal, 0, 0, kRed), 6);
  EXPECT_EQ(diagonal.pixel(3, 3), kWhite);
  EXPECT_TRUE(findRegion(diagonal, -1, 0).empty());
  EXPECT_EQ(floodFill(diagonal, 4, 0, kRed) + floodFill(diagonal, 0, 99, kRed), 0);

  s.setMode(DrawMode::Xor);  // painting honours the mode
  paintRegion(s, region, rgb(0, 255, 0));
  EXPECT_EQ(s.pixel(2, 1), rgb(255, 255, 0));
}

// A serpentine corridor one pixel wide: tens of thousands of runs, no recursion to overflow.
TEST(FloodFill, LongCorridorIsFilledWhole) {
  const int size = 1001;
  Surface s = blank(size, size);
  std::int64_t corridor = static_cast<std::int64_t>((size + 1) / 2) * size;
  for (int y = 1; y < size; y += 2, ++corridor) {  // walls with a gap at alternate ends
    s.line((y / 2) % 2 == 0 ? 0 : 1, y, (y / 2) % 2 == 0 ? size - 2 : size - 1, y);
  }
  EXPECT_EQ(floodFill(s, 0, 0, kRed), corridor);
  EXPECT_EQ(s.pixel(size - 1, size - 1), kRed);
}

}  // namespace
}  // namespace orbelle::raster
