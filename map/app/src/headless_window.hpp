#pragma once

// The drawing pass's window for rendering without a display: no events to run, messages go to
// a stream, and the cache step keeps the finished map as the picture to save.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "raster/surface.hpp"
#include "render/pass_window.hpp"

namespace orbelle::app {

class HeadlessWindow : public render::PassWindow {
 public:
  // The map layer is side × side pixels. overlay runs as the overlay refresh, on the finished
  // picture (nothing when the pass was cancelled).
  HeadlessWindow(int side, std::ostream& messages,
                 std::function<void(raster::Surface& picture)> overlay = {});

  void setDrawing(bool drawing) override { Drawing = drawing; }
  raster::Surface& beginPass() override;
  void letEventsRun() override {}
  void showMessage(const std::string& text) override;
  void writeCache(const raster::Surface& mapLayer) override { picture_ = mapLayer; }
  void endPass() override {}
  void refreshOverlay() override;

  // The finished map with its overlay; none before a completed pass.
  const std::optional<raster::Surface>& picture() const noexcept { return picture_; }
  const std::vector<std::string>& messages() const noexcept { return messageLog_; }

  bool Drawing = false;

 private:
  raster::Surface mapLayer_;
  std::optional<raster::Surface> picture_;
  std::ostream& messages_;
  std::vector<std::string> messageLog_;
  std::function<void(raster::Surface&)> overlay_;
};

}  // namespace orbelle::app
