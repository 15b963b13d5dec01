#include "render/land_regions.hpp"

#include <algorithm>
#include <numeric>

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

std::vector<std::uint8_t> landDepth(const raster::Surface& surface, raster::Pixel land) {
  const int width = surface.width(), height = surface.height();
  std::vector<std::uint8_t> depth(static_cast<std::size_t>(width) * height);
  auto at = [&](int x, int y) -> std::uint8_t& {
    return depth[static_cast<std::size_t>(y) * width + x];
  };
  // Outside the surface counts as 0: a pixel on the edge has depth 1.
  auto get = [&](int x, int y) -> int {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return at(x, y);
  };
  for (int y = 0; y < height; ++y) {
    const raster::Pixel* row = surface.pixels() + static_cast<std::size_t>(y) * surface.stride();
    for (int x = 0; x < width; ++x) {
      if (row[x] != land) {
        at(x, y) = 0;
        continue;
      }
      const int d = std::min({get(x - 1, y), get(x - 1, y - 1), get(x, y - 1), get(x + 1, y - 1)});
      at(x, y) = static_cast<std::uint8_t>(std::min(d + 1, 255));
    }
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int x = width - 1; x >= 0; --x) {
      const int here = at(x, y);
      if (here == 0) continue;
      const int d = std::min({get(x + 1, y), get(x + 1, y + 1), get(x, y + 1), get(x - 1, y + 1)});
      at(x, y) = static_cast<std::uint8_t>(std::min(here, d + 1));
    }
  }
  return depth;
}

}  // namespace orbelle::render
