#pragma once

// The drawing pass that builds the base map for the current station and radius: the Earth's
// disc inside its rim, the edge ticks and azimuth marks, the outline files, the water and ice
// fills of every land-coloured region decided from the shore data (region_fills.hpp), the rivers
// when shown (the levels that suit the map's miles per pixel, long enough rivers only:
// pass_style.hpp), and the station and pole dots. It draws on the map layer the window
// hands it, writes the cache through the window when it completes, and ends with the overlay
// refresh.
//
// The pass draws for the station and radius it finds when it starts; it scales the map layer and
// leaves the window's plane alone (the window reads the scale from the layer).
//
// One pass runs at a time. A request for a pass that arrives while one runs (from inside the
// pass's event yields) is remembered and one more pass runs after the current one ends; a cancel
// drops such a request.

#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plane/map_plane.hpp"
#include "raster/color.hpp"
#include "render/flood_fill_at.hpp"
#include "render/outline_loader.hpp"
#include "render/outline_reader.hpp"
#include "render/pass_options.hpp"
#include "render/pass_style.hpp"
#include "render/pass_window.hpp"
#include "render/region_fills.hpp"
#include "render/shore_truth.hpp"

namespace orbelle::render {

// The river files a map of milesPerPixel shows, in drawing order (kRiverLevels).
std::vector<std::string_view> riverFiles(double milesPerPixel);

// What the last pass did, for the renderer's report and the benchmark.
struct PassFigures {
  using Duration = std::chrono::steady_clock::duration;
  Duration total{};
  Duration frame{};     // clearing, scaling, the disc, rim and ticks
  Duration outlines{};  // reading, projecting and drawing the outline files (rivers included)
  Duration fills{};     // deciding and filling the regions (the shore rings' index included)
  Duration cache{};     // writing the cache through the window
  std::vector<OutlineFigures> files;  // in the order drawn
  RegionFigures regions;
  bool shoreIndexBuilt = false;  // the shore rings were indexed anew (not kept from before)
  bool completed = false;        // not cancelled
};

class DrawingPass {
 public:
  // All three must outlive the pass. programFolder holds the subfolder "mapdata".
  DrawingPass(PassWindow& window, geo::MapPlane& plane, const PassOptions& options,
              std::string programFolder);
  DrawingPass(const DrawingPass&) = delete;
  DrawingPass& operator=(const DrawingPass&) = delete;

  // Runs a pass, or, while one runs, asks for one more after it.
  void cmdDraw_Click();

  // The cancel button: sets CancelDraw for the running pass (nothing when no pass runs).
  void requestCancel() noexcept;

  bool CancelDraw() const noexcept { return cancelDraw_; }
  bool running() const noexcept { return running_; }
  const PassFigures& lastFigures() const noexcept { return figures_; }
  const OutlineReader& reader() const noexcept { return reader_; }

 private:
  void runOnce();
  void drawAll(raster::Surface& surface);
  void drawFrame(raster::Surface& surface);
  void paintFrame(raster::Surface& surface);
  // Starts indexing the shore files of the loader on a thread of its own unless the kept index
  // was made from the same records (then nothing: the future is not valid).
  std::future<std::unique_ptr<ShoreTruth>> indexShores(const OutlineLoader& loader);
  const ShoreTruth& shoreTruth(const OutlineLoader& loader,
                               std::future<std::unique_ptr<ShoreTruth>>& index);

  PassWindow& window_;
  geo::MapPlane& plane_;
  geo::MapPlane pass_;  // the window's plane as the running pass found it
  const PassOptions& options_;
  OutlineReader reader_;
  bool cancelDraw_ = false;
  bool running_ = false;
  bool pending_ = false;
  PassFigures figures_;
  // The shore rings' index depends on the outline data alone: it is kept from pass to pass and
  // made again only when the shore files' records differ.
  std::unique_ptr<ShoreTruth> shoreTruth_;
  // The files of the last completed pass with every vertex projected: a pass for the same station
  // (a new radius only) takes the projections of unchanged files from there.
  std::unique_ptr<OutlineLoader> lastLoader_;
  // The frame's pixels depend on the surface's size and scale and the land colour alone (the
  // station is always the centre): the last frame painted is kept and copied while they match.
  struct Frame {
    int width = 0, height = 0;
    raster::PixelMapping mapping{0.0, 0.0, 1.0, 1.0};
    raster::Rgb land = 0;
    std::vector<raster::Pixel> pixels;
  };
  std::optional<Frame> frame_;
};

}  // namespace orbelle::render
