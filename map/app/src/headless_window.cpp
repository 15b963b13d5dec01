#include "headless_window.hpp"

#include <utility>

namespace orbelle::app {

HeadlessWindow::HeadlessWindow(int side, std::ostream& messages,
                               std::function<void(raster::Surface&)> overlay)
    : mapLayer_(side, side), messages_(messages), overlay_(std::move(overlay)) {}

raster::Surface& HeadlessWindow::beginPass() {
  picture_.reset();
  return mapLayer_;
}

void HeadlessWindow::showMessage(const std::string& text) {
  messageLog_.push_back(text);
  messages_ << text << '\n';
}

void HeadlessWindow::refreshOverlay() {
  if (picture_ && overlay_) overlay_(*picture_);
}

}  // namespace orbelle::app
