// Projection cost per outline vertex: the literal route (DistanceBearing, then the sine and
// cosine of the bearing) against the per-station projector.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "geometry/great_circle.hpp"
#include "geometry/projection.hpp"

namespace {

using orbelle::geo::MapPoint;

struct Vertex {
  double lat;
  double lon;
};

// Positions on the whole-minute grid as outline records hold them: polylines of 100 vertices
// a few minutes apart, starting anywhere on the globe.
const std::vector<Vertex>& vertices() {
  static const std::vector<Vertex> points = [] {
    std::vector<Vertex> v;
    std::mt19937 rng(1);
    std::uniform_int_distribution<int> lat(-5300, 5300), lon(-10800, 10800), step(-6, 6);
    for (int line = 0; line < 1000; ++line) {
      int la = lat(rng), lo = lon(rng);
      for (int i = 0; i < 100; ++i) {
        v.push_back({la / 60.0, lo / 60.0});
        la = std::clamp(la + step(rng), -5400, 5400);
        lo = std::clamp(lo + step(rng), -10800, 10800);
      }
    }
    return v;
  }();
  return points;
}

constexpr double kLatHere = 40.0, kLonHere = -75.0;

void BM_ProjectLiteral(benchmark::State& state) {
  const auto& points = vertices();
  for (auto _ : state) {
    double sum = 0.0;
    for (const Vertex& v : points) {
      const MapPoint p = orbelle::geo::ProjectPoint(kLatHere, kLonHere, v.lat, v.lon);
      sum += p.x + p.y;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_ProjectLiteral)->Unit(benchmark::kMillisecond);

void BM_ProjectFast(benchmark::State& state) {
  const auto& points = vertices();
  for (auto _ : state) {
    const orbelle::geo::StationProjector projector(kLatHere, kLonHere);
    double sum = 0.0;
    for (const Vertex& v : points) {
      const MapPoint p = projector.project(v.lat, v.lon);
      sum += p.x + p.y;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_ProjectFast)->Unit(benchmark::kMillisecond);

void BM_DistanceBearing(benchmark::State& state) {
  const auto& points = vertices();
  for (auto _ : state) {
    double sum = 0.0;
    for (const Vertex& v : points) {
      sum += orbelle::geo::DistanceBearing(kLatHere, kLonHere, v.lat, v.lon).bearing;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_DistanceBearing)->Unit(benchmark::kMillisecond);

}  // namespace
