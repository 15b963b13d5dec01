// The drawing pass for the default station (33.9, -84.179), whole Earth, a 600-pixel surface, on
// the shipped outline data: the whole pass (rivers off and on, one and two threads), and its
// parts (reading and projecting the files, drawing their lines, indexing the shore rings,
// deciding and filling the regions, writing the cache BMP).
//
// The outline data is read from $ORBELLE_PROGRAM_FOLDER/mapdata when that is set, else from the
// repository's mapdata/.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/constants.hpp"
#include "plane/map_plane.hpp"
#include "raster/qt/picture_file.hpp"
#include "render/drawing_pass.hpp"
#include "render/flood_fill_at.hpp"
#include "render/outline_loader.hpp"
#include "render/outline_projector.hpp"
#include "render/outline_reader.hpp"
#include "render/pass_style.hpp"
#include "render/region_fills.hpp"
#include "render/shore_crossings.hpp"
#include "render/shore_truth.hpp"

namespace {

using namespace orbelle;

constexpr int kSide = 600;
constexpr double kStationLat = 33.9;
constexpr double kStationLon = -84.179;

std::string programFolder() {
  const char* folder = std::getenv("ORBELLE_PROGRAM_FOLDER");
  return folder != nullptr ? folder : ORBELLE_SOURCE_DIR;
}

geo::MapPlane defaultPlane() {
  geo::MapPlane plane;
  plane.LatHere = kStationLat;
  plane.LonHere = kStationLon;
  plane.MaxDx = geo::kWholeEarthMiles;
  return plane;
}

// A window that runs no events and writes the cache BMP into a temporary folder, as the map
// window writes MapCache.bmp.
class BenchWindow : public render::PassWindow {
 public:
  BenchWindow() : surface_(kSide, kSide), cachePath_(dir_.filePath("MapCache.bmp")) {}
  void setDrawing(bool) override {}
  raster::Surface& beginPass() override { return surface_; }
  void letEventsRun() override {}
  void showMessage(const std::string& text) override { throw std::runtime_error(text); }
  void writeCache(const raster::Surface& mapLayer) override {
    raster::writeBmp(mapLayer, cachePath_);
  }
  void endPass() override {}
  void refreshOverlay() override {}
  raster::Surface& surface() { return surface_; }

 private:
  QTemporaryDir dir_;
  raster::Surface surface_;
  QString cachePath_;
};

const std::vector<std::string_view> kFiles = {render::kStateFile, render::kCountryFile,
                                              render::kCoastFile, render::kIslandFile,
                                              render::kLakeFile,  render::kRiverFile};

void BM_WholePass(benchmark::State& state) {
  BenchWindow window;
  geo::MapPlane plane = defaultPlane();
  render::PassOptions options;
  options.ShowRivers = state.range(1) != 0;
  options.projectionThreads = static_cast<unsigned>(state.range(0));
  render::DrawingPass pass(window, plane, options, programFolder());
  // The station moves by a hundredth of a degree at each pass, so every vertex is projected
  // anew (a pass for an unchanged station reuses the last projections: BM_NewRadiusSameStation).
  bool moved = false;
  for (auto _ : state) {
    plane.LatHere = kStationLat + (moved ? 0.01 : 0.0);
    moved = !moved;
    pass.cmdDraw_Click();
  }
  const render::PassFigures& f = pass.lastFigures();
  std::size_t records = 0;
  for (const render::OutlineFigures& file : f.files) records += file.records;
  state.counters["records"] = static_cast<double>(records);
  state.counters["regions"] = f.regions.regions;
  state.counters["water"] = f.regions.water;
}
BENCHMARK(BM_WholePass)
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->ArgNames({"threads", "rivers"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// Passes for the same station with the radius changing at each (zooming): the projected
// vertices of the last pass are reused.
void BM_NewRadiusSameStation(benchmark::State& state) {
  BenchWindow window;
  geo::MapPlane plane = defaultPlane();
  render::PassOptions options;
  render::DrawingPass pass(window, plane, options, programFolder());
  bool wide = false;
  for (auto _ : state) {
    plane.MaxDx = wide ? geo::kWholeEarthMiles : 6000;
    wide = !wide;
    pass.cmdDraw_Click();
  }
}
BENCHMARK(BM_NewRadiusSameStation)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

std::vector<std::string> allPaths() {
  const render::OutlineReader reader(programFolder());
  std::vector<std::string> paths;
  for (std::string_view name : kFiles) paths.push_back(reader.pathOf(name));
  return paths;
}

// Reading and projecting all six files (no drawing).
void BM_ReadAndProject(benchmark::State& state) {
  const geo::MapPlane plane = defaultPlane();
  const render::OutlineProjector projector(plane.LatHere, plane.LonHere);
  const std::vector<std::string> paths = allPaths();
  for (auto _ : state) {
    render::OutlineLoader loader(paths, projector, static_cast<unsigned>(state.range(0)));
    loader.projectAll();
    benchmark::DoNotOptimize(loader.file(0).vertices.data());
  }
}
BENCHMARK(BM_ReadAndProject)->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond);

// Drawing the lines of all six files, already read, projected and converted to pixels.
void BM_DrawLines(benchmark::State& state) {
  BenchWindow window;
  geo::MapPlane plane = defaultPlane();
  geo::SetMapScale(plane, window.surface());
  const render::OutlineProjector projector(plane.LatHere, plane.LonHere);
  const bool cancel = false;
  render::OutlineLoader loader(allPaths(), projector, 2, nullptr,
                               window.surface().pixelMapping());
  loader.projectAll();
  render::OutlineReader reader(programFolder());
  render::OutlineTarget target{window.surface(), projector, window, cancel, 2};
  for (auto _ : state) {
    for (std::size_t i = 0; i < kFiles.size(); ++i) reader.DrawOutlineFile(loader, i, target);
  }
}
BENCHMARK(BM_DrawLines)->Unit(benchmark::kMillisecond);

// The map as the outlines leave it (disc, rim and the five outline files; no rivers), with the
// shore lines the reader handed over.
struct Outlined {
  BenchWindow window;
  geo::MapPlane plane = defaultPlane();
  render::PassOptions options;
  std::unique_ptr<render::ShoreCrossings> shores;
  std::vector<std::vector<render::OutlineRecord>> shoreRecords;

  Outlined() {
    raster::Surface& outlined = window.surface();
    outlined.clear(render::kClearColor);
    geo::SetMapScale(plane, outlined);
    render::FloodFillAt(plane, outlined, plane.LatHere, plane.LonHere, render::kBackgroundColor,
                        true, options.LandColor, false);
    outlined.setColor(render::kRimColor);
    outlined.setPenWidth(render::kRimWidth);
    outlined.circle(0.0, 0.0, geo::kRimRadiusMiles);
    render::FloodFillAt(plane, outlined, plane.LatHere, plane.LonHere, options.LandColor, true,
                        options.LandColor, false);
    outlined.setPenWidth(render::kOutlineWidth);
    const render::OutlineProjector projector(plane.LatHere, plane.LonHere);
    const bool cancel = false;
    render::OutlineLoader loader(allPaths(), projector, 2);
    render::OutlineReader reader(programFolder());
    render::OutlineTarget target{outlined, projector, window, cancel, 2};
    shores = std::make_unique<render::ShoreCrossings>(outlined);
    for (std::size_t i = 0; i + 1 < kFiles.size(); ++i) {
      outlined.setColor(i == 0 ? render::kStateColor
                               : i == 1 ? render::kCountryColor : render::kShoreColor);
      target.shoreLines = i >= 2 ? shores.get() : nullptr;
      reader.DrawOutlineFile(loader, i, target);
      if (i >= 2) shoreRecords.push_back(loader.file(i).records);
    }
  }
  std::vector<std::span<const render::OutlineRecord>> shoreFiles() const {
    return {shoreRecords.begin(), shoreRecords.end()};
  }
};

// Indexing the rings of the shore files (done once, then kept while the data stays the same).
void BM_ShoreIndex(benchmark::State& state) {
  const Outlined outlined;
  const auto files = outlined.shoreFiles();
  for (auto _ : state) {
    render::ShoreTruth truth(files);
    benchmark::DoNotOptimize(truth.ringMasks().data());
  }
}
BENCHMARK(BM_ShoreIndex)->Unit(benchmark::kMillisecond);

// Deciding every land-coloured region and filling it (the shore index already made).
void BM_Regions(benchmark::State& state) {
  Outlined outlined;
  const render::ShoreTruth truth(outlined.shoreFiles());
  outlined.shores->build(truth.ringMasks());
  render::RegionFigures figures;
  for (auto _ : state) {
    state.PauseTiming();
    raster::Surface work = outlined.window.surface();
    state.ResumeTiming();
    figures = render::fillRegions(outlined.plane, work, outlined.options, truth, *outlined.shores,
                                  false);
  }
  state.counters["regions"] = figures.regions;
  state.counters["by_depth"] = figures.byDepth;
  state.counters["by_crossing"] = figures.byCrossing;
  state.counters["undecided"] = figures.undecided;
}
BENCHMARK(BM_Regions)->Unit(benchmark::kMillisecond);

// Writing the 600 x 600 cache BMP.
void BM_WriteBmp(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("MapCache.bmp");
  raster::Surface surface(kSide, kSide, render::kDefaultWaterColor);
  for (auto _ : state) raster::writeBmp(surface, path);
}
BENCHMARK(BM_WriteBmp)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
