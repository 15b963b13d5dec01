#include "render/vertex_projection.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <exception>
#include <thread>
#include <vector>

#include "geometry/rounding.hpp"

namespace orbelle::render {

namespace {

void projectRange(std::span<const OutlineRecord> records, const OutlineProjector& projector,
                  std::span<MapVertex> out) noexcept {
  for (std::size_t i = 0; i < records.size(); ++i) {
    const geo::MapPoint p = projector.project(records[i].latMinutes, records[i].lonMinutes);
    out[i] = {roundMiles(p.x), roundMiles(p.y)};
  }
}

}  // namespace

void projectRecords(std::span<const OutlineRecord> records, const OutlineProjector& projector,
                    std::span<MapVertex> out, unsigned threads) {
  assert(out.size() == records.size());
  const std::size_t n = records.size();
  std::size_t parts = std::max(1u, threads);
  if (n < kParallelProjectionMinRecords) parts = 1;
  parts = std::min<std::size_t>(parts, n / (kParallelProjectionMinRecords / 2) + 1);

  std::vector<std::thread> helpers;
  const std::size_t chunk = parts > 0 ? (n + parts - 1) / parts : n;
  for (std::size_t part = 1; part < parts; ++part) {
    const std::size_t begin = std::min(n, part * chunk);
    const std::size_t count = std::min(n - begin, chunk);
    try {
      helpers.emplace_back(projectRange, records.subspan(begin, count), std::cref(projector),
                           out.subspan(begin, count));
    } catch (const std::exception&) {
      // No thread to be had: this thread projects the part itself.
      projectRange(records.subspan(begin, count), projector, out.subspan(begin, count));
    }
  }
  projectRange(records.first(std::min(n, chunk)), projector, out.first(std::min(n, chunk)));
  for (std::thread& helper : helpers) helper.join();
}

}  // namespace orbelle::render
