#include "render/drawing_pass.hpp"

#include <algorithm>
#include <filesystem>
#include <future>
#include <span>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "geometry/constants.hpp"
#include "geometry/rounding.hpp"
#include "plane/map_drawing.hpp"
#include "render/outline_loader.hpp"

namespace orbelle::render {

namespace {

using Clock = std::chrono::steady_clock;

// The files every pass draws before the rivers: state, country, coast, island and lake.
constexpr std::size_t kPassFiles = 5;

// Clears the running flag however the pass ends.
class RunningGuard {
 public:
  explicit RunningGuard(bool& running) : running_(running) { running_ = true; }
  ~RunningGuard() { running_ = false; }
  RunningGuard(const RunningGuard&) = delete;
  RunningGuard& operator=(const RunningGuard&) = delete;

 private:
  bool& running_;
};

}  // namespace

std::vector<std::string_view> riverFiles(double milesPerPixel) {
  std::vector<std::string_view> files;
  for (const RiverLevel& level : kRiverLevels) {
    if (milesPerPixel <= level.maxMilesPerPixel) files.push_back(level.file);
  }
  return files;
}

DrawingPass::DrawingPass(PassWindow& window, geo::MapPlane& plane, const PassOptions& options,
                         std::string programFolder)
    : window_(window), plane_(plane), options_(options), reader_(std::move(programFolder)) {}

void DrawingPass::cmdDraw_Click() {
  if (running_) {
    pending_ = true;
    return;
  }
  RunningGuard guard(running_);
  do {
    pending_ = false;
    runOnce();
  } while (pending_);
}

void DrawingPass::requestCancel() noexcept {
  if (!running_) return;
  cancelDraw_ = true;
  pending_ = false;
}

void DrawingPass::runOnce() {
  const Clock::time_point start = Clock::now();
  figures_ = PassFigures{};

  cancelDraw_ = false;
  // The station and radius of this pass: a change that arrives while it runs (during an event
  // yield) takes effect at the next pass, not halfway through this one.
  pass_ = plane_;
  window_.setDrawing(true);
  try {
    drawAll(window_.beginPass());
  } catch (...) {
    // Whatever failed, the window must not stay in its drawing state.
    window_.endPass();
    window_.setDrawing(false);
    throw;
  }
  window_.endPass();
  window_.setDrawing(false);
  figures_.total = Clock::now() - start;
  window_.refreshOverlay();
}

void DrawingPass::drawAll(raster::Surface& surface) {
  // The files are read and their projection started before the frame is drawn, so the helpers
  // project while this thread fills the disc.
  Clock::time_point mark = Clock::now();
  const OutlineProjector projector(pass_.LatHere, pass_.LonHere);
  // The scale first: the helpers find each vertex's pixel, and the river levels depend on it.
  geo::SetMapScale(pass_, surface);
  // Every file of the pass is read now and projected while the earlier ones are drawn. Rivers
  // are read ahead when they are shown at the start; whether they are drawn is decided in turn.
  const std::vector<std::string_view> rivers = riverFiles(pass_.MilesPerPixel);
  const bool riversAhead = options_.ShowRivers;
  std::vector<std::string> paths;
  for (std::string_view name : {kStateFile, kCountryFile, kCoastFile, kIslandFile, kLakeFile}) {
    paths.push_back(reader_.pathOf(name));
  }
  if (riversAhead) {
    for (std::string_view name : rivers) paths.push_back(reader_.pathOf(name));
  }
  auto loaded = std::make_unique<OutlineLoader>(paths, projector, options_.projectionThreads,
                                                lastLoader_.get(), surface.pixelMapping());
  lastLoader_.reset();
  OutlineLoader& loader = *loaded;
  // The shore rings are indexed while the outlines are drawn, when the last index does not fit.
  std::future<std::unique_ptr<ShoreTruth>> index = indexShores(loader);
  figures_.outlines = Clock::now() - mark;

  mark = Clock::now();
  drawFrame(surface);
  figures_.frame = Clock::now() - mark;

  mark = Clock::now();
  OutlineTarget target{surface, projector, window_, cancelDraw_, options_.projectionThreads};
  auto draw = [&](std::size_t index) {
    figures_.files.push_back(reader_.DrawOutlineFile(loader, index, target));
  };

  // The azimuth marks leave the current point at the centre, which is the station.
  reader_.setPenPosition(surface.currentX(), surface.currentY(), pass_.LatHere, pass_.LonHere);
  surface.setPenWidth(kOutlineWidth);
  surface.setColor(kStateColor);
  draw(0);
  surface.setColor(kCountryColor);
  draw(1);
  surface.setColor(kShoreColor);
  ShoreCrossings shores(surface);
  target.shoreLines = &shores;
  draw(2);
  draw(3);
  draw(4);
  target.shoreLines = nullptr;
  figures_.outlines += Clock::now() - mark;

  mark = Clock::now();
  if (!cancelDraw_) {
    const ShoreTruth& truth = shoreTruth(loader, index);
    shores.build(truth.ringMasks());
    figures_.regions = fillRegions(pass_, surface, options_, truth, shores, cancelDraw_);
  }
  figures_.fills = Clock::now() - mark;

  mark = Clock::now();
  surface.setColor(options_.WaterColor);
  target.minChainKm = kRiverChainPixels * pass_.MilesPerPixel * geo::kKmPerMile;
  target.minStepMiles = kRiverStepPixels * pass_.MilesPerPixel;
  if (options_.ShowRivers) {
    for (std::size_t level = 0; level < rivers.size(); ++level) {
      if (riversAhead) {
        const std::size_t index = kPassFiles + level;
        if (level == 0 || loader.file(index).state != LoadedOutline::State::Missing) draw(index);
      } else if (level == 0 || std::filesystem::exists(reader_.pathOf(rivers[level]))) {
        figures_.files.push_back(reader_.DrawOutlineFile(rivers[level], target));
      }
    }
  }
  figures_.outlines += Clock::now() - mark;

  // The station and the poles, also after a cancel.
  surface.setPenWidth(kMarkerWidth);
  surface.dot(0.0, 0.0, kMarkerColor);
  geo::DrawPoint(pass_, surface, kPoleDotLatitude, kPoleDotLongitude, kMarkerColor, kMarkerWidth);
  geo::DrawPoint(pass_, surface, -kPoleDotLatitude, kPoleDotLongitude, kMarkerColor, kMarkerWidth);

  if (!cancelDraw_) {
    mark = Clock::now();
    window_.writeCache(surface);
    surface.clear(kClearColor);
    figures_.cache = Clock::now() - mark;
    figures_.completed = true;
    // Every file was drawn, so every vertex is projected and the projector is no longer needed.
    loader.projectAll();
    lastLoader_ = std::move(loaded);
  }
}

namespace {

std::vector<std::span<const OutlineRecord>> shoreFiles(const OutlineLoader& loader) {
  std::vector<std::span<const OutlineRecord>> files;
  for (std::size_t i = 2; i <= 4; ++i) files.emplace_back(loader.file(i).records);
  return files;
}

}  // namespace

std::future<std::unique_ptr<ShoreTruth>> DrawingPass::indexShores(const OutlineLoader& loader) {
  const std::vector<std::span<const OutlineRecord>> files = shoreFiles(loader);
  if (shoreTruth_ && shoreTruth_->builtFrom(files)) return {};
  shoreTruth_.reset();
  try {
    return std::async(std::launch::async, [files] { return std::make_unique<ShoreTruth>(files); });
  } catch (const std::system_error&) {
    return {};  // no thread to be had: indexed on this thread when the fills need it
  }
}

const ShoreTruth& DrawingPass::shoreTruth(const OutlineLoader& loader,
                                          std::future<std::unique_ptr<ShoreTruth>>& index) {
  if (index.valid()) {
    shoreTruth_ = index.get();
    figures_.shoreIndexBuilt = true;
  } else if (!shoreTruth_) {
    shoreTruth_ = std::make_unique<ShoreTruth>(shoreFiles(loader));
    figures_.shoreIndexBuilt = true;
  }
  return *shoreTruth_;
}

// Scale, then the frame painted or copied from the last one; the pen ends as painting leaves it.
void DrawingPass::drawFrame(raster::Surface& surface) {
  surface.setMode(raster::DrawMode::Copy);
  geo::SetMapScale(pass_, surface);
  const std::size_t count = static_cast<std::size_t>(surface.width()) * surface.height();
  if (frame_ && frame_->width == surface.width() && frame_->height == surface.height() &&
      frame_->mapping == surface.pixelMapping() && frame_->land == options_.LandColor) {
    std::copy(frame_->pixels.begin(), frame_->pixels.end(), surface.pixels());
  } else {
    frame_.reset();
    paintFrame(surface);
    if (!cancelDraw_) {
      frame_ = Frame{surface.width(), surface.height(), surface.pixelMapping(), options_.LandColor,
                     std::vector<raster::Pixel>(surface.pixels(), surface.pixels() + count)};
    }
  }
  surface.setColor(kRimColor);
  surface.setPenWidth(kAzimuthTickWidth);
  surface.moveTo(0.0, 0.0);  // where the last azimuth mark leaves the current point
}

// Clear, the black background, the rim, the land disc, the edge ticks and the azimuth marks.
void DrawingPass::paintFrame(raster::Surface& surface) {
  surface.clear(kClearColor);
  FloodFillAt(pass_, surface, pass_.LatHere, pass_.LonHere, kBackgroundColor, true,
              options_.LandColor, cancelDraw_);

  surface.setColor(kRimColor);
  surface.setPenWidth(kRimWidth);
  surface.circle(0.0, 0.0, geo::kRimRadiusMiles);
  FloodFillAt(pass_, surface, pass_.LatHere, pass_.LonHere, options_.LandColor, true,
              options_.LandColor, cancelDraw_);

  const double r = pass_.mapRadius();
  const double t = geo::roundHalfEven(kEdgeTickPixels * pass_.MilesPerPixel);
  surface.setPenWidth(kEdgeTickWidth);
  surface.line(0.0, r, 0.0, r - t);
  surface.line(r - t, 0.0, 2.0 * r, 0.0);
  surface.line(0.0, -2.0 * r, 0.0, -r + t);
  surface.line(-r, 0.0, -r + t, 0.0);

  surface.setPenWidth(kAzimuthTickWidth);
  for (int a = kAzimuthStepDegrees; a < 360; a += kAzimuthStepDegrees) {
    if (a == 90 || a == 180 || a == 270) continue;
    const double centre = a * geo::kDegToRad;
    surface.arc(0.0, 0.0, geo::kTickRadiusMiles, centre - kAzimuthHalfArcRadians,
                centre + kAzimuthHalfArcRadians);
  }
}

}  // namespace orbelle::render
