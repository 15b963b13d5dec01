// Scanline flood fill: the walk collects the region's row runs with a visited bit mask and an
// explicit stack; painting is a separate pass over those runs.

#include "raster/fill.hpp"

#include <cstdint>
#include <vector>

#include "device.hpp"

namespace orbelle::raster {

namespace {

class VisitedMask {
 public:
  VisitedMask(int width, int height)
      : width_(width),
        bits_((static_cast<std::size_t>(width) * static_cast<std::size_t>(height) + 63) / 64) {}

  bool test(int x, int y) const {
    const std::size_t i = index(x, y);
    return (bits_[i >> 6] >> (i & 63)) & 1u;
  }
  void set(int x, int y) {
    const std::size_t i = index(x, y);
    bits_[i >> 6] |= std::uint64_t{1} << (i & 63);
  }

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  int width_;
  std::vector<std::uint64_t> bits_;
};

struct Seed {
  int x;
  int y;
};

}  // namespace

FillRegion findRegion(const Surface& surface, int px, int py) {
  FillRegion region;
  const int width = surface.width(), height = surface.height();
  if (px < 0 || py < 0 || px >= width || py >= height) return region;

  const Pixel* pixels = surface.pixels();
  const Pixel target = pixels[static_cast<std::size_t>(py) * width + px];
  region.color = fromPixel(target);
  region.minX = width;
  region.minY = height;

  VisitedMask visited(width, height);
  auto matches = [&](const Pixel* row, int x, int y) {
    return row[x] == target && !visited.test(x, y);
  };

  std::vector<Seed> stack{{px, py}};
  while (!stack.empty()) {
    const Seed seed = stack.back();
    stack.pop_back();
    const Pixel* row = pixels + static_cast<std::size_t>(seed.y) * width;
    if (!matches(row, seed.x, seed.y)) continue;

    int x0 = seed.x, x1 = seed.x;
    while (x0 > 0 && matches(row, x0 - 1, seed.y)) --x0;
    while (x1 < width - 1 && matches(row, x1 + 1, seed.y)) ++x1;
    for (int x = x0; x <= x1; ++x) visited.set(x, seed.y);

    region.spans.push_back({seed.y, x0, x1});
    region.pixelCount += x1 - x0 + 1;
    region.minX = std::min(region.minX, x0);
    region.maxX = std::max(region.maxX, x1);
    region.minY = std::min(region.minY, seed.y);
    region.maxY = std::max(region.maxY, seed.y);

    // One seed per run of matching pixels in the rows above and below.
    for (const int ny : {seed.y - 1, seed.y + 1}) {
      if (ny < 0 || ny >= height) continue;
      const Pixel* next = pixels + static_cast<std::size_t>(ny) * width;
      bool inRun = false;
      for (int x = x0; x <= x1; ++x) {
        const bool m = matches(next, x, ny);
        if (m && !inRun) stack.push_back({x, ny});
        inRun = m;
      }
    }
  }
  return region;
}

void paintRegion(Surface& surface, const FillRegion& region, Rgb color) {
  for (const Span& span : region.spans) surface.plotSpan(span.y, span.x0, span.x1, color);
}

std::int64_t floodFill(Surface& surface, int px, int py, Rgb color) {
  const FillRegion region = findRegion(surface, px, py);
  paintRegion(surface, region, color);
  return region.pixelCount;
}

}  // namespace orbelle::raster
