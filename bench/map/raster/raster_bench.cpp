// Surface workloads of the size a map pass has: a 600 × 600 surface, many short one-pixel
// outline segments, a few wide strokes, and region fills.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "raster/fill.hpp"
#include "raster/surface.hpp"

namespace {

using orbelle::raster::DrawMode;
using orbelle::raster::rgb;
using orbelle::raster::Surface;

constexpr int kSide = 600;
constexpr double kRadius = 12437.0;  // map miles from the centre to each edge

struct Point {
  double x;
  double y;
};

Surface mapSurface() {
  Surface s(kSide, kSide, orbelle::raster::kWhite);
  s.setScale(-kRadius, kRadius, 2 * kRadius, -2 * kRadius);
  return s;
}

// Random-walk polylines in map miles: steps of a few pixels, like projected coastline vertices.
std::vector<std::vector<Point>> outlines(int polylines, int verticesEach, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> start(-kRadius, kRadius), step(-150.0, 150.0);
  std::vector<std::vector<Point>> result(polylines);
  for (auto& line : result) {
    Point p{start(rng), start(rng)};
    for (int i = 0; i < verticesEach; ++i) {
      line.push_back(p);
      p.x += step(rng);
      p.y += step(rng);
    }
  }
  return result;
}

void drawOutlines(Surface& s, const std::vector<std::vector<Point>>& lines) {
  for (const auto& line : lines) {
    s.moveTo(line.front().x, line.front().y);
    for (const Point& p : line) s.lineTo(p.x, p.y);
  }
}

// Half a million one-pixel segments (about the vertex count of intermediate-resolution outlines).
void BM_LineHeavy(benchmark::State& state) {
  const auto lines = outlines(5000, 100, 1);
  Surface s = mapSurface();
  s.setColor(rgb(0, 0, 0));
  for (auto _ : state) {
    drawOutlines(s, lines);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 5000 * 100);
}
BENCHMARK(BM_LineHeavy)->Unit(benchmark::kMillisecond);

// The wide strokes of a pass: the rim circle, 20 azimuth marks, four edge ticks, dots; and an
// XOR path line.
void BM_WideStrokes(benchmark::State& state) {
  Surface s = mapSurface();
  for (auto _ : state) {
    s.setColor(rgb(128, 128, 128));
    s.setPenWidth(2);
    s.circle(0, 0, 12422.5654296875);
    s.setPenWidth(4);
    for (int a = 15; a < 360; a += 15) {
      const double k = 0.017453292519943278;
      s.arc(0, 0, 12437.5654296875, a * k - 0.001, a * k + 0.001);
    }
    s.setPenWidth(3);
    s.line(0, kRadius, 0, kRadius - 332);
    s.line(kRadius - 332, 0, 2 * kRadius, 0);
    s.dot(0, 0, rgb(255, 0, 0));
    s.setMode(DrawMode::Xor);
    s.setPenWidth(2);
    s.line(0, 0, 8000, -6000, rgb(255, 255, 255));
    s.setMode(DrawMode::Copy);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WideStrokes)->Unit(benchmark::kMicrosecond);

// A forced fill of the whole surface, then 47 seed fills into a surface cut up by outlines;
// the surface is restored outside the timing.
void BM_FillHeavy(benchmark::State& state) {
  Surface prepared = mapSurface();
  prepared.setColor(rgb(0, 128, 0));
  drawOutlines(prepared, outlines(400, 200, 2));
  prepared.setColor(rgb(0, 0, 0));
  prepared.setPenWidth(2);
  prepared.circle(0, 0, 12422.5654296875);
  prepared.setPenWidth(1);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> pixel(0, kSide - 1);
  std::vector<std::pair<int, int>> seeds;
  for (int i = 0; i < 47; ++i) seeds.emplace_back(pixel(rng), pixel(rng));

  std::int64_t painted = 0;
  Surface s = prepared;
  for (auto _ : state) {
    state.PauseTiming();
    s = prepared;
    state.ResumeTiming();
    painted += orbelle::raster::floodFill(s, 0, 0, rgb(0, 0, 1));
    for (const auto& [x, y] : seeds)
      painted += orbelle::raster::floodFill(s, x, y, rgb(128, 192, 255));
    benchmark::ClobberMemory();
  }
  state.counters["pixels/iteration"] =
      benchmark::Counter(static_cast<double>(painted) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_FillHeavy)->Unit(benchmark::kMillisecond);

// Filling the whole 600 × 600 surface at once: the cost per pixel of walking and painting.
void BM_FillWholeSurface(benchmark::State& state) {
  Surface s = mapSurface();
  orbelle::raster::Rgb colour = rgb(0, 0, 0);
  for (auto _ : state) {
    colour ^= 0xffffff;
    benchmark::DoNotOptimize(orbelle::raster::floodFill(s, 300, 300, colour));
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_FillWholeSurface)->Unit(benchmark::kMillisecond);

void BM_Clear(benchmark::State& state) {
  Surface s = mapSurface();
  for (auto _ : state) {
    s.clear(rgb(255, 255, 255));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Clear)->Unit(benchmark::kMicrosecond);

}  // namespace
