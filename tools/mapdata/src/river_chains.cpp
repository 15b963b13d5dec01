#include "river_chains.hpp"

#include <cstdlib>
#include <numeric>
#include <unordered_map>

#include "densify.hpp"
#include "sphere_area.hpp"

namespace mapdata {

namespace {

// Union-find over line and lake indices.
class Chains {
 public:
  explicit Chains(std::size_t size) : parent_(size) {
    std::iota(parent_.begin(), parent_.end(), std::size_t{0});
  }
  std::size_t root(std::size_t i) {
    while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
    return i;
  }
  void join(std::size_t a, std::size_t b) { parent_[root(a)] = root(b); }

 private:
  std::vector<std::size_t> parent_;
};

double lengthKm(const MinuteLine& line) {
  double degrees = 0;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const double m = kMinutesPerDegree;
    degrees +=
        arcDegrees({line[i - 1].lon / m, line[i - 1].lat / m}, {line[i].lon / m, line[i].lat / m});
  }
  return degrees * kRadPerDeg * kEarthRadiusKm;
}

// Lake vertices by square cells of kLakeReachMinutes, so an end looks at its 3 x 3 cells only.
using Cell = std::uint64_t;
Cell cellOf(int lat, int lon) {
  const auto row = static_cast<std::uint32_t>((lat + kMaxLatMinutes) / kLakeReachMinutes);
  const auto column = static_cast<std::uint32_t>((lon + kMaxLonMinutes) / kLakeReachMinutes);
  return (Cell{row} << 32) | column;
}

}  // namespace

std::vector<double> chainLengthsKm(const std::vector<MinuteLine>& lines,
                                   const std::vector<MinuteLine>& lakes) {
  const std::size_t n = lines.size();
  Chains chains(n + lakes.size());
  std::unordered_multimap<Cell, std::pair<std::size_t, MinutePoint>> lakeVertices;
  for (std::size_t j = 0; j < lakes.size(); ++j) {
    for (const MinutePoint p : lakes[j])
      lakeVertices.emplace(cellOf(p.lat, p.lon), std::pair{j, p});
  }
  std::unordered_map<std::uint32_t, std::size_t> endAt;
  for (std::size_t i = 0; i < n; ++i) {
    if (lines[i].empty()) continue;
    for (const MinutePoint end : {lines[i].front(), lines[i].back()}) {
      const auto [it, first] = endAt.emplace(placeKey(end), i);
      if (!first) chains.join(i, it->second);
      for (int dy = -kLakeReachMinutes; dy <= kLakeReachMinutes; dy += kLakeReachMinutes) {
        for (int dx = -kLakeReachMinutes; dx <= kLakeReachMinutes; dx += kLakeReachMinutes) {
          const auto [from, to] = lakeVertices.equal_range(cellOf(end.lat + dy, end.lon + dx));
          for (auto v = from; v != to; ++v) {
            const MinutePoint p = v->second.second;
            if (std::abs(p.lat - end.lat) <= kLakeReachMinutes &&
                std::abs(p.lon - end.lon) <= kLakeReachMinutes) {
              chains.join(i, n + v->second.first);
            }
          }
        }
      }
    }
  }
  std::vector<double> total(n + lakes.size(), 0.0), out(n);
  for (std::size_t i = 0; i < n; ++i) total[chains.root(i)] += lengthKm(lines[i]);
  for (std::size_t i = 0; i < n; ++i) out[i] = total[chains.root(i)];
  return out;
}

}  // namespace mapdata
