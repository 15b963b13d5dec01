// The spot overlay on Qt's offscreen platform: AddSpot into rings of 25 and 500 slots with
// spots, spotters and lines shown, and DrawSpots of 500 filled slots after a change of scale
// (every marker and line moves). Targets: AddSpot under 50 µs, DrawSpots under 10 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <ctime>
#include <memory>

#include "raster/surface.hpp"
#include "spots/qt/spot_layer.hpp"

namespace {

using namespace orbelle;

class BenchWindow final : public spots::SpotWindow {
 public:
  const geo::MapPlane& plane() const override { return planeState; }
  spots::ShowOptions showOptions() const override { return {true, true, true}; }
  std::int16_t MaxSpots() const override { return maxSpots; }
  bool Drawing() const override { return false; }
  QPoint imageOrigin() const override { return {2, 2}; }
  bool orbellesetrotor(double) override { return false; }
  bool orbellesetrig(QVariant&, QVariant&, QVariant&) override { return false; }

  geo::MapPlane planeState;
  std::int16_t maxSpots = 25;
};

class BenchSurface final : public QWidget {
 public:
  spots::SpotLayer* layer = nullptr;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (layer) layer->paintLines(painter);
  }
};

struct Overlay {
  explicit Overlay(std::int16_t slotCount) {
    window.maxSpots = slotCount;
    scale(600, 12437);
    surface.resize(604, 604);
    layer = std::make_unique<spots::SpotLayer>(window, &surface);
    surface.layer = layer.get();
    layer->ClearSpots();
    surface.show();
    QApplication::processEvents();
  }
  ~Overlay() { surface.layer = nullptr; }

  void scale(int pixels, std::int16_t maxDx) {
    window.planeState.MaxDx = maxDx;
    raster::Surface image(pixels, pixels);
    geo::SetMapScale(window.planeState, image);
  }

  // Spots spread over the Earth, each with a spotter elsewhere.
  void add(int n) {
    const double lat = -80.0 + (n * 37 % 160);
    const double lon = -180.0 + (n * 71 % 360);
    layer->AddSpot(lat, lon, 255, 14000.0 + n % 350, QStringLiteral("CW"),
                   QStringLiteral("K%1ABC").arg(n % 10), QStringLiteral("1402Z"),
                   QStringLiteral(" W4QZX "), QStringLiteral("up 2"), QStringLiteral("Somewhere"),
                   lat / 2.0, lon / 3.0, 12632256.0, QStringLiteral("Region"), 14001.0);
  }

  BenchWindow window;
  BenchSurface surface;
  std::unique_ptr<spots::SpotLayer> layer;
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
    // A resize between redraws: every marker and line is placed somewhere new.
    state.PauseTiming();
    small = !small;
    overlay.scale(small ? 500 : 600, 12437);
    state.ResumeTiming();
    overlay.layer->DrawSpots();
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
    overlay.scale(small ? 500 : 600, 12437);
    overlay.layer->DrawSpots();
    overlay.surface.repaint();
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
