// The map window's per-event costs: the pointer readout (run on every movement over the map) and
// recomposing the surface's layers (every overlay wipe and every repaint), for the default
// 600-pixel surface with the cached picture at the surface's size and stretched from another.

#include <benchmark/benchmark.h>

#include "model/map_layers.hpp"
#include "plane/pointer.hpp"

namespace {

using namespace orbelle;

void BM_PointerReadout(benchmark::State& state) {
  const geo::PointerScale scale{9000.0, 9000.0, 12437.0};
  int px = 0;
  for (auto _ : state) {
    const geo::PlanePosition p = geo::planeOfPointer(px * 15.0, (599 - px) * 15.0, scale);
    benchmark::DoNotOptimize(geo::readoutOf(p));
    px = (px + 7) % 600;
  }
}
BENCHMARK(BM_PointerReadout);

void BM_Recompose(benchmark::State& state) {
  const int side = 600;
  const int pictureSide = static_cast<int>(state.range(0));
  model::MapLayers layers(side, side);
  layers.setPicture(raster::Surface(pictureSide, pictureSide, raster::rgb(0, 128, 0)));
  for (auto _ : state) {
    layers.recompose();
    benchmark::DoNotOptimize(layers.shown().pixels());
  }
  state.SetLabel(pictureSide == side ? "picture at the surface's size" : "picture stretched");
}
BENCHMARK(BM_Recompose)->Arg(600)->Arg(400)->Unit(benchmark::kMicrosecond);

}  // namespace
