// One overlay refresh on a 600-pixel whole-Earth map: at step 1.0 (station far from the
// terminator, 360 points) and at the finest step (station on the terminator, about 45,000
// points), each with and without reloading the 600-pixel cached map from a BMP file.

#include <benchmark/benchmark.h>

#include <QString>
#include <cstdio>
#include <filesystem>
#include <string>

#include "plane/map_plane.hpp"
#include "raster/qt/picture_file.hpp"
#include "raster/surface.hpp"
#include "sun/sun_overlay.hpp"

namespace orbelle {
namespace {

constexpr int kSide = 600;

// 06:00 UTC on day number 80: the terminator runs along the meridians 0 and 180.
DateTime equinoxMorning() { return DateTime{DateSerial(2024, 1, 1).serial + 80.25}; }

// A window whose cache reload reads the BMP file into the surface, as the window's does.
class BenchWindow final : public OverlayWindow {
 public:
  BenchWindow(raster::Surface& surface, QString cache)
      : surface_(surface), cache_(std::move(cache)) {}
  bool Drawing() const override { return false; }
  void clearPaintDeferred() override {}
  bool ShowSun() const override { return true; }
  double UTCOffsetSeconds() const override { return 0; }
  CacheReload reloadMapCache() override {
    if (cache_.isEmpty()) return CacheReload::NotCached;
    raster::Surface loaded = raster::readBmp(cache_);
    std::copy(loaded.pixels(), loaded.pixels() + kSide * kSide, surface_.pixels());
    return CacheReload::Reloaded;
  }
  void letEventsRun() override {}

 private:
  raster::Surface& surface_;
  QString cache_;
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

void refresh(benchmark::State& state, double lat, double lon, bool reload) {
  raster::Surface surface(kSide, kSide, raster::rgb(128, 192, 255));
  geo::MapPlane plane;
  plane.LatHere = lat;
  plane.LonHere = lon;
  plane.MaxDx = 12437;
  geo::SetMapScale(plane, surface);
  BenchWindow window(surface, reload ? cacheFile() : QString());
  SunOverlay overlay(fixedClock(equinoxMorning()));
  for (auto _ : state) {
    overlay.SunTimer_Timer(window, plane, surface);
    benchmark::DoNotOptimize(surface.pixels());
  }
  state.counters["points"] = overlay.lastGrayLine().points;
  state.counters["step"] = overlay.lastGrayLine().step;
}

// Station at the sub-solar point (0, 90): step 1.0. Station on the equator just over 2 miles
// beyond the terminator (the meridian 0): g just above 2 miles, step 0.008, about 45,000 points.
constexpr double kFinestLon = -(kQuarterCircumference + 2.0005 - 90 * 60 * 1.1512) / (60 * 1.1512);

void BM_RefreshCoarse(benchmark::State& s) { refresh(s, 0, 90, false); }
void BM_RefreshCoarseWithReload(benchmark::State& s) { refresh(s, 0, 90, true); }
void BM_RefreshFinest(benchmark::State& s) { refresh(s, 0, kFinestLon, false); }
void BM_RefreshFinestWithReload(benchmark::State& s) { refresh(s, 0, kFinestLon, true); }

BENCHMARK(BM_RefreshCoarse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshCoarseWithReload)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshFinest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshFinestWithReload)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbelle
