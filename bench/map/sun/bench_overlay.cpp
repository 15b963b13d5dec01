// One overlay refresh on a 600-pixel whole-Earth map: at step 1.0 (station far from the
// terminator, 360 points) and at the finest step (station on the terminator, about 45,000
// points), each with and without reloading the 600-pixel cached map from a BMP file, and with
// night shading over a map put back from memory. Budget of a shaded refresh: 5 ms on one core.
// The per-pixel directions the shading needs are made once per map (BM_PrepareNightShade).

#include <benchmark/benchmark.h>

#include <QString>
#include <cstdio>
#include <filesystem>
#include <string>

#include "plane/map_plane.hpp"
#include "raster/qt/picture_file.hpp"
#include "raster/surface.hpp"
#include "sun/night_shade.hpp"
#include "sun/sun_overlay.hpp"

namespace orbelle {
namespace {

constexpr int kSide = 600;

// 06:00 UTC on day number 80: the terminator runs along the meridians 0 and 180.
DateTime equinoxMorning() { return DateTime{DateSerial(2024, 1, 1).serial + 80.25}; }

// A window whose cache reload reads the BMP file into the surface, as the window's does, or
// (shading) copies the map back from memory.
class BenchWindow final : public OverlayWindow {
 public:
  BenchWindow(raster::Surface& surface, QString cache, const raster::Surface* shadeOver = nullptr)
      : surface_(surface), cache_(std::move(cache)), shadeOver_(shadeOver) {}
  bool Drawing() const override { return false; }
  bool ShadeNight() const override { return shadeOver_ != nullptr; }
  void clearPaintDeferred() override {}
  bool ShowSun() const override { return true; }
  double UTCOffsetSeconds() const override { return 0; }
  CacheReload reloadMapCache() override {
    if (shadeOver_) {
      std::copy(shadeOver_->pixels(), shadeOver_->pixels() + kSide * kSide, surface_.pixels());
      return CacheReload::Reloaded;
    }
    if (cache_.isEmpty()) return CacheReload::NotCached;
    raster::Surface loaded = raster::readBmp(cache_);
    std::copy(loaded.pixels(), loaded.pixels() + kSide * kSide, surface_.pixels());
    return CacheReload::Reloaded;
  }
  void letEventsRun() override {}

 private:
  raster::Surface& surface_;
  QString cache_;
  const raster::Surface* shadeOver_;
};

QString cacheFile() {
  static const QString path = [] {
    const auto file = std::filesystem::temp_directory_path() / "bench_overlay_MapCache.bmp";
    raster::Surface map(kSide, kSide, raster::rgb(128, 192, 255));
    raster::writeBmp(map, QString::fromStdString(file.string()));
    return QString::fromStdString(file.string());
  }();
  return path;
}

void refresh(benchmark::State& state, double lat, double lon, bool reload, bool shade = false) {
  raster::Surface surface(kSide, kSide, raster::rgb(128, 192, 255));
  const raster::Surface map(kSide, kSide, raster::rgb(128, 192, 255));
  geo::MapPlane plane;
  plane.LatHere = lat;
  plane.LonHere = lon;
  plane.MaxDx = 12437;
  geo::SetMapScale(plane, surface);
  BenchWindow window(surface, reload ? cacheFile() : QString(), shade ? &map : nullptr);
  SunOverlay overlay(fixedClock(equinoxMorning()));
  overlay.SunTimer_Timer(window, plane, surface);  // the directions, once per map
  for (auto _ : state) {
    overlay.SunTimer_Timer(window, plane, surface);
    benchmark::DoNotOptimize(surface.pixels());
  }
  state.counters["points"] = overlay.lastGrayLine().points;
  state.counters["step"] = overlay.lastGrayLine().step;
  state.counters["shaded"] = overlay.lastShadedPixels();
}

void BM_PrepareNightShade(benchmark::State& state) {
  raster::Surface surface(kSide, kSide);
  geo::MapPlane plane;
  plane.LatHere = 33.9;
  plane.LonHere = -84.179;
  plane.MaxDx = 12437;
  geo::SetMapScale(plane, surface);
  for (auto _ : state) {
    NightShade shade;
    shade.prepare(plane, surface);
    benchmark::DoNotOptimize(shade.placePixels());
  }
}

// Station at the sub-solar point (0, 90): step 1.0. Station on the equator just over 2 miles
// beyond the terminator (the meridian 0): g just above 2 miles, step 0.008, about 45,000 points.
constexpr double kFinestLon = -(kQuarterCircumference + 2.0005 - 90 * 60 * 1.1512) / (60 * 1.1512);

void BM_RefreshCoarse(benchmark::State& s) { refresh(s, 0, 90, false); }
void BM_RefreshCoarseWithReload(benchmark::State& s) { refresh(s, 0, 90, true); }
void BM_RefreshFinest(benchmark::State& s) { refresh(s, 0, kFinestLon, false); }
void BM_RefreshFinestWithReload(benchmark::State& s) { refresh(s, 0, kFinestLon, true); }

void BM_RefreshCoarseShaded(benchmark::State& s) { refresh(s, 0, 90, false, true); }
void BM_RefreshFinestShaded(benchmark::State& s) { refresh(s, 0, kFinestLon, false, true); }

BENCHMARK(BM_RefreshCoarse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshCoarseShaded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshFinestShaded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareNightShade)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshCoarseWithReload)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshFinest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshFinestWithReload)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbelle
