// The window's layout: the square surface sized from the window's width and the window's height
// from it (in twips), the snap-back while Drawing, the size limits, SetPixelSize, and the map
// scale the model takes from every resize.

#include <QResizeEvent>
#include <algorithm>
#include <QScreen>
#include <QShowEvent>
#include <QWidget>

#include "layout_rules.hpp"
#include "shell/form1.hpp"
#include "shell/surface_widget.hpp"

namespace orbelle::shell {
namespace {

// Largest inner surface the window allows, pixels: two layers of 32-bit pixels stay near
// 128 MB.
constexpr int kMaxSurfacePixels = 4096;
// Space kept around the options panel inside the surface, pixels.
constexpr int kPanelMargin = 16;
// The window manager's frame around a window not yet shown (its real frame is unknown until
// then), pixels: a title bar and thin borders.
constexpr int kFrameAllowanceWidth = 12;
constexpr int kFrameAllowanceHeight = 40;

}  // namespace

double Form1::widthTwips() const {
  return width() == setSizePx_.width() ? setSizeTwips_.width() : width() * tpp_;
}

double Form1::heightTwips() const {
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
  // The window, frame included, stays within the screen's available area: the square shrinks
  // to fit its width and its height.
  const QRect area = availableArea();
  if (!area.isEmpty()) {
    const QSize frame = frameExtra();
    const double byWidth = (area.width() - frame.width()) * tpp_ - kSurfaceLeftTwips -
                           kSurfaceRightMarginTwips;
    const double byHeight = (area.height() - frame.height()) * tpp_ - 2.0 * kSurfaceTopTwips -
                            kWindowExtraHeightTwips;
    maxSurfaceTwips_ = std::min({maxSurfaceTwips_, byWidth, byHeight});
  }

  const SurfaceLimits limits{minSurfaceTwips_, maxSurfaceTwips_};
  const ResizeOutcome smallest = resizeRule(0.0, limits);
  const ResizeOutcome largest = resizeRule(1.0e9, limits);
  setMinimumSize(pixelsOf(smallest.windowWidthTwips, tpp_),
                 pixelsOf(smallest.windowHeightTwips - kWindowExtraHeightTwips, tpp_));
  setMaximumSize(pixelsOf(largest.windowWidthTwips, tpp_),
                 pixelsOf(largest.windowHeightTwips, tpp_));
}

QSize Form1::frameExtra() const {
  if (isVisible()) return frameGeometry().size() - size();
  return {kFrameAllowanceWidth, kFrameAllowanceHeight};
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

void Form1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The real frame is known now: the limits follow it, and a window that no longer fits shrinks.
  updateLimits();
  if (surfaceTwips_ > maxSurfaceTwips_) Form_Resize();
  model_.repaint();
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
  if (model_.Drawing()) {
    // A pass or the save dialog is running: the window keeps its size.
    setWindowSizeTwips(savedWidth_, savedHeight_);
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
  // The height follows the width: a window grown downwards past the screen moves up instead.
  if (loaded_) fitOnScreen();
  model_.repaint();
  showDrawingNote();
}

void Form1::resizeSteps() {
  const ResizeOutcome r = resizeRule(widthTwips(), {minSurfaceTwips_, maxSurfaceTwips_});
  placeSurface(r.surfaceTwips);
  if (r.windowWidthTwips != widthTwips() || r.windowHeightTwips != heightTwips()) {
    setWindowSizeTwips(r.windowWidthTwips, r.windowHeightTwips);
  }
  // Image1 and both layers take the surface's new inner size; the map layer is cleared to white
  // and scaled to the map radius. The cached picture is shown stretched until the next pass.
  const QRect inner = c_.Picture1->contentsRect();
  const double ratio =
      services_.devicePixelRatio ? services_.devicePixelRatio() : devicePixelRatioF();
  model_.applyMapScale(std::min(inner.width(), inner.height()), ratio);
  savedHeight_ = roundedTwips(heightTwips());
  savedWidth_ = roundedTwips(widthTwips());
}

void Form1::SetPixelSize(std::int16_t Pixels) {
  if (model_.Drawing()) return;
  placeSurface(pixelSizeSurfaceTwips(Pixels, tpp_));
  setWindowSizeTwips(pixelSizeWindowWidthTwips(surfaceTwips_), heightTwips());
  setWindowSizeTwips(widthTwips(), 2.0 * kSurfaceTopTwips + surfaceTwips_);
}

}  // namespace orbelle::shell
