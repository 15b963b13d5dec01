// The spot markers on Qt's offscreen platform, over a real model: AddSpot into rings of 25 and
// 500 slots with spots, spotters and lines shown, and the placing of 500 filled slots after a
// change of the map's radius (every marker and line moves; the radius change itself only clears
// the map layer). Targets: AddSpot under 50 µs, placing the spots under 10 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <ctime>
#include <fstream>
#include <memory>

#include "model/map_model.hpp"
#include "shell/surface_widget.hpp"
#include "spot_layer.hpp"

namespace {

using namespace orbelle;

class NoMessages final : public model::MessageBoxes {
 public:
  void message(const QString&, const QString&, model::MessageIcon) override {}
  bool askYesNo(const QString&, const QString&) override { return false; }
};

struct Overlay {
  explicit Overlay(std::int16_t slotCount) {
    const QString ini = dir.filePath(QStringLiteral("orbelle.ini"));
    std::ofstream(ini.toStdString()) << "[Settings]\nMaxSpots=" << slotCount << "\n";
    model::ModelServices services;
    services.messages = &messages;
    services.settingsFile = ini.toStdString();
    services.cacheFile = dir.filePath(QStringLiteral("MapCache.bmp"));
    model = std::make_unique<model::MapModel>(services);
    model->load(0.0f, 0.0f);
    surface = std::make_unique<shell::SurfaceWidget>(model->layers(), nullptr);
    surface->resize(604, 604);
    layer = std::make_unique<shell::SpotLayer>(*model, surface.get());
    surface->addPainterAbove([this](QPainter& painter) { layer->paintLines(painter); });
    scale(12437);
    surface->show();
    QApplication::processEvents();
  }

  // The map scaled to another radius on the same 600 pixels: the spots are placed again.
  void scale(std::int16_t maxDx) {
    model->setMaxDx(maxDx);
    model->applyMapScale(600);
  }

  // Spots spread over the Earth, each with a spotter elsewhere.
  void add(int n) {
    spots::SpotArgs s;
    s.LatDeg = -80.0 + (n * 37 % 160);
    s.LonDeg = -180.0 + (n * 71 % 360);
    s.Color = 255;
    s.SpotFreq = 14000.0 + n % 350;
    s.Mode = "CW";
    s.SpotCall = "K" + std::to_string(n % 10) + "ABC";
    s.SpotTime = "1402Z";
    s.SpotBy = " W4QZX ";
    s.SpotComment = "up 2";
    s.SpotLoc = "Somewhere";
    s.SpotByLat = s.LatDeg / 2.0;
    s.SpotByLon = s.LonDeg / 3.0;
    s.SpotByColor = 12632256.0;
    s.SpotByLoc = "Region";
    s.SpotFreqTX = 14001.0;
    model->AddSpot(s);
  }

  QTemporaryDir dir;
  NoMessages messages;
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<shell::SurfaceWidget> surface;
  std::unique_ptr<shell::SpotLayer> layer;
};

// CPU time of this thread in seconds: the machines these run on are shared, and wall time
// would count the other programs' turns.
double threadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Each iteration adds 10,000 spots, timing only the AddSpot calls (thread CPU time); between
// bursts of state.range(1) spots the pending events run (the repaints the spots asked for), as
// they do between the host's calls.
void addSpots(benchmark::State& state) {
  Overlay overlay(static_cast<std::int16_t>(state.range(0)));
  const auto burst = static_cast<int>(state.range(1));
  int n = 0;
  for (auto _ : state) {
    double spent = 0.0;
    for (int k = 0; k < 10000; k += burst) {
      const double start = threadSeconds();
      for (int b = 0; b < burst; ++b) overlay.add(n++);
      spent += threadSeconds() - start;
      QApplication::processEvents();
    }
    state.SetIterationTime(spent);
  }
  state.counters["us_per_AddSpot"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * 10000.0,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(addSpots)
    ->ArgNames({"slots", "burst"})
    ->Args({25, 1})
    ->Args({25, 100})
    ->Args({500, 1})
    ->Args({500, 100})
    ->Args({500, 10000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void drawSpots(benchmark::State& state) {
  Overlay overlay(500);
  for (int n = 0; n < 500; ++n) overlay.add(n);
  QApplication::processEvents();
  bool small = false;
  for (auto _ : state) {
    // Every marker and line is placed somewhere new.
    small = !small;
    overlay.scale(small ? 9000 : 12437);
  }
}
BENCHMARK(drawSpots)->Unit(benchmark::kMillisecond);

void drawSpotsAndPaint(benchmark::State& state) {
  Overlay overlay(500);
  for (int n = 0; n < 500; ++n) overlay.add(n);
  QApplication::processEvents();
  bool small = false;
  for (auto _ : state) {
    small = !small;
    overlay.scale(small ? 9000 : 12437);
    overlay.surface->repaint();
  }
}
BENCHMARK(drawSpotsAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
