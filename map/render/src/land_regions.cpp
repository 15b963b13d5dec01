#include "render/land_regions.hpp"

#include <algorithm>

namespace orbelle::render {

namespace {

class UnionFind {
 public:
  int add() {
    parent_.push_back(static_cast<int>(parent_.size()));
    return parent_.back();
  }
  int find(int a) {
    while (parent_[a] != a) {
      parent_[a] = parent_[parent_[a]];
      a = parent_[a];
    }
    return a;
  }
  void join(int a, int b) {
    a = find(a);
    b = find(b);
    if (a != b) parent_[std::max(a, b)] = std::min(a, b);
  }

 private:
  std::vector<int> parent_;
};

}  // namespace

LandRegions findLandRegions(const raster::Surface& surface, raster::Pixel land,
                            std::span<const RowInterval> inner) {
  LandRegions result;
  const int width = surface.width(), height = surface.height();
  const bool split = !inner.empty();
  result.rowRun.reserve(static_cast<std::size_t>(height) + 1);
  std::vector<bool> runInside;  // per run, on the inner side
  UnionFind sets;

  for (int y = 0; y < height; ++y) {
    result.rowRun.push_back(result.runs.size());
    const raster::Pixel* row = surface.pixels() + static_cast<std::size_t>(y) * surface.stride();
    const RowInterval in = split ? inner[static_cast<std::size_t>(y)] : RowInterval{};
    int x = 0;
    while (x < width) {
      if (row[x] != land) {
        ++x;
        continue;
      }
      const bool inside = split && in.contains(x);
      const int x0 = x;
      while (x < width && row[x] == land && (!split || in.contains(x) == inside)) ++x;
      result.runs.push_back({y, x0, x - 1, sets.add()});
      runInside.push_back(inside);
    }
    if (y == 0) continue;
    // Join each run with the runs of the row above that it touches (4-connected: they share a
    // column) and that lie on the same side of the inner boundary.
    std::size_t above = result.rowRun[static_cast<std::size_t>(y) - 1];
    const std::size_t aboveEnd = result.rowRun[static_cast<std::size_t>(y)];
    for (std::size_t i = aboveEnd; i < result.runs.size(); ++i) {
      const LandRun& run = result.runs[i];
      while (above < aboveEnd && result.runs[above].x1 < run.x0) ++above;
      for (std::size_t j = above; j < aboveEnd && result.runs[j].x0 <= run.x1; ++j) {
        if (runInside[j] == runInside[i]) sets.join(result.runs[j].region, run.region);
      }
    }
  }
  result.rowRun.push_back(result.runs.size());

  // Number the regions densely, in the order of their first run.
  std::vector<int> number(result.runs.size(), -1);
  for (LandRun& run : result.runs) {
    const int root = sets.find(run.region);
    if (number[static_cast<std::size_t>(root)] < 0) number[static_cast<std::size_t>(root)] = result.count++;
    run.region = number[static_cast<std::size_t>(root)];
  }
  return result;
}

DeepLand deepLand(const raster::Surface& surface, raster::Pixel land, int depth) {
  const int width = surface.width(), height = surface.height();
  DeepLand result;
  result.wordsPerRow = (width + 63) / 64;
  const std::size_t words = static_cast<std::size_t>(result.wordsPerRow);
  result.bits.assign(words * static_cast<std::size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    const raster::Pixel* row = surface.pixels() + static_cast<std::size_t>(y) * surface.stride();
    std::uint64_t* out = result.bits.data() + static_cast<std::size_t>(y) * words;
    for (int x = 0; x < width; ++x) {
      out[x >> 6] |= static_cast<std::uint64_t>(row[x] == land) << (x & 63);
    }
  }
  // Each step keeps the pixels whose 3 x 3 neighbourhood is all kept: one pixel deeper.
  if (depth - 1 > std::max(width, height)) {
    std::fill(result.bits.begin(), result.bits.end(), 0);
    return result;
  }
  std::vector<std::uint64_t> across(result.bits.size());
  for (int step = 1; step < depth; ++step) {
    // Across: a pixel and both its row neighbours (beyond the row's ends: not land).
    for (int y = 0; y < height; ++y) {
      const std::uint64_t* in = result.bits.data() + static_cast<std::size_t>(y) * words;
      std::uint64_t* out = across.data() + static_cast<std::size_t>(y) * words;
      for (std::size_t w = 0; w < words; ++w) {
        const std::uint64_t left = (in[w] << 1) | (w > 0 ? in[w - 1] >> 63 : 0);
        const std::uint64_t right = (in[w] >> 1) | (w + 1 < words ? in[w + 1] << 63 : 0);
        out[w] = in[w] & left & right;
      }
      // Bits past the last column are not land.
      if (width % 64 != 0) out[words - 1] &= (std::uint64_t{1} << (width % 64)) - 1;
    }
    // Down: a row and the rows above and below it (beyond the first and last: not land).
    for (int y = 0; y < height; ++y) {
      std::uint64_t* out = result.bits.data() + static_cast<std::size_t>(y) * words;
      const std::uint64_t* mid = across.data() + static_cast<std::size_t>(y) * words;
      for (std::size_t w = 0; w < words; ++w) {
        const std::uint64_t up = y > 0 ? mid[w - words] : 0;
        const std::uint64_t down = y + 1 < height ? mid[w + words] : 0;
        out[w] = mid[w] & up & down;
      }
    }
  }
  return result;
}

}  // namespace orbelle::render
