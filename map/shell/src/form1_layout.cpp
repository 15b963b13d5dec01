// The window's layout: the square surface sized from the window's width and the window's height
// from it (in twips), the snap-back while Drawing, the size limits, SetPixelSize, and the map
// scale that follows every resize.

#include <QResizeEvent>
#include <QWidget>

#include "form1_parts.hpp"
#include "plane/map_plane.hpp"
#include "layout_rules.hpp"
#include "map_layers.hpp"
#include "shell/surface_widget.hpp"

namespace orbelle::shell {
namespace {

// Largest inner surface the window allows, pixels: two layers of 32-bit pixels stay near
// 128 MB.
constexpr int kMaxSurfacePixels = 4096;
// Space kept around the options panel inside the surface, pixels.
constexpr int kPanelMargin = 16;

}  // namespace

double Form1::windowWidthTwips() const {
  return width() == setSizePx_.width() ? setSizeTwips_.width() : width() * tpp_;
}

double Form1::windowHeightTwips() const {
  return height() == setSizePx_.height() ? setSizeTwips_.height() : height() * tpp_;
}

void Form1::updateLimits() {
  // The surface must hold the options panel, and the window must be tall enough for the
  // controls column.
  const QSize panel = c_.FrameSetup->sizeHint();
  const int panelSide =
      std::max(panel.width(), panel.height()) + kPanelMargin + 2 * kSurfaceBorderPixels;
  const QWidget* column = findChild<QWidget*>(QStringLiteral("controlsColumn"));
  const double columnBottom = column ? (column->geometry().bottom() + 1) * tpp_ : 0.0;
  const double forColumn =
      columnBottom + kSurfaceTopTwips - 2.0 * kSurfaceTopTwips - kWindowExtraHeightTwips;
  minSurfaceTwips_ = std::max(panelSide * tpp_, forColumn);
  maxSurfaceTwips_ = (kMaxSurfacePixels + 2 * kSurfaceBorderPixels) * tpp_;

  const SurfaceLimits limits{minSurfaceTwips_, maxSurfaceTwips_};
  const ResizeOutcome smallest = resizeRule(0.0, limits);
  const ResizeOutcome largest = resizeRule(1.0e9, limits);
  setMinimumSize(pixelsOf(smallest.windowWidthTwips, tpp_),
                 pixelsOf(smallest.windowHeightTwips - kWindowExtraHeightTwips, tpp_));
  setMaximumSize(pixelsOf(largest.windowWidthTwips, tpp_),
                 pixelsOf(largest.windowHeightTwips, tpp_));
}

void Form1::setWindowSizeTwips(double width, double height) {
  setSizeTwips_ = {width, height};
  setSizePx_ = {pixelsOf(width, tpp_), pixelsOf(height, tpp_)};
  const QSize before = size();
  const int events = resizeEvents_;
  resize(setSizePx_);
  // A hidden window gets its resize event only when shown: run the rule now, as the visible
  // window does from inside resize().
  if (size() != before && resizeEvents_ == events) Form_Resize();
}

void Form1::placeSurface(double outerTwips) {
  surfaceTwips_ = outerTwips;
  const int side = pixelsOf(outerTwips, tpp_);
  c_.Picture1->setGeometry(pixelsOf(kSurfaceLeftTwips, tpp_), pixelsOf(kSurfaceTopTwips, tpp_),
                           side, side);
}

void Form1::resizeEvent(QResizeEvent* event) {
  ++resizeEvents_;
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Form1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  const auto* change = static_cast<QWindowStateChangeEvent*>(event);
  // Restoring a minimized window runs the whole rule (the size may not have changed).
  if (change->oldState().testFlag(Qt::WindowMinimized) && !isMinimized()) Form_Resize();
}

void Form1::Form_Resize() {
  if (isMinimized()) return;
  if (Drawing()) {
    // A pass or the save dialog is running: the window keeps its size.
    setWindowSizeTwips(state_.SavedWidth, state_.SavedHeight);
    return;
  }
  // Changing the window's size below runs this handler again from inside; the outer call then
  // goes round once more with the size the window really has.
  if (inResize_) {
    resizeAgain_ = true;
    return;
  }
  inResize_ = true;
  int rounds = 0;
  do {
    resizeAgain_ = false;
    resizeSteps();
  } while (resizeAgain_ && ++rounds < 4);
  inResize_ = false;
  DrawSpots();
  repaintSurface();
}

void Form1::resizeSteps() {
  const ResizeOutcome r = resizeRule(windowWidthTwips(), {minSurfaceTwips_, maxSurfaceTwips_});
  placeSurface(r.surfaceTwips);
  if (r.windowWidthTwips != windowWidthTwips() || r.windowHeightTwips != windowHeightTwips()) {
    setWindowSizeTwips(r.windowWidthTwips, r.windowHeightTwips);
  }
  applyMapScale();
  state_.SavedHeight = roundedTwips(windowHeightTwips());
  state_.SavedWidth = roundedTwips(windowWidthTwips());
}

// Image1 and both layers take the surface's new inner size; the map layer is cleared to white
// and scaled to the map radius. The cached picture is shown stretched until the next pass.
void Form1::applyMapScale() {
  const QRect inner = c_.Picture1->contentsRect();
  const int side = std::max(1, std::min(inner.width(), inner.height()));
  if (side != layers_->width() || side != layers_->height()) {
    layers_->resize(side, side);
  } else {
    layers_->mapLayer().clear(raster::kWhite);
  }
  geo::SetMapScale(state_.plane, layers_->mapLayer());
  layers_->shareScale();
}

void Form1::SetPixelSize(std::int16_t Pixels) {
  if (Drawing()) return;
  placeSurface(pixelSizeSurfaceTwips(Pixels, tpp_));
  setWindowSizeTwips(pixelSizeWindowWidthTwips(surfaceTwips_), windowHeightTwips());
  setWindowSizeTwips(windowWidthTwips(), 2.0 * kSurfaceTopTwips + surfaceTwips_);
}

}  // namespace orbelle::shell
