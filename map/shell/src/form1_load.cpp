// Loading and unloading the window: the model's load, then the window's own steps (the surface
// size, the restored position kept on the screen, always-on-top), the unload that writes the
// settings, and the close rule.

#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "layout_rules.hpp"
#include "shell/form1.hpp"

namespace orbelle::shell {

QSizeF Form1::screenSizeTwips() const {
  if (services_.screenSizeTwips) return services_.screenSizeTwips();
  const QScreen* s = screen();
  if (!s) return {};
  const QSize px = s->geometry().size();
  return {px.width() * tpp_, px.height() * tpp_};
}

void Form1::moveWindowTwips(double left, double top) {
  setPosTwips_ = {left, top};
  setPosPx_ = {pixelsOf(left, tpp_), pixelsOf(top, tpp_)};
  move(setPosPx_);
}

double Form1::leftTwips() const { return x() == setPosPx_.x() ? setPosTwips_.x() : x() * tpp_; }

double Form1::topTwips() const { return y() == setPosPx_.y() ? setPosTwips_.y() : y() * tpp_; }

QRect Form1::availableArea() const {
  if (services_.availableScreenArea) return services_.availableScreenArea();
  const QScreen* s = screen();
  return s ? s->availableGeometry() : QRect();
}

void Form1::fitOnScreen() {
  // The window fits the available area (the resize rule sees to that); a position that would
  // put part of it beyond the area's right or bottom edge moves it back in.
  const QRect area = availableArea();
  if (area.isEmpty()) return;
  const QSize outer = size() + frameExtra();
  const int left = std::max(area.left(), std::min(x(), area.right() + 1 - outer.width()));
  const int top = std::max(area.top(), std::min(y(), area.bottom() + 1 - outer.height()));
  if (left != x() || top != y()) moveWindowTwips(left * tpp_, top * tpp_);
}

void Form1::Form_Load() {
  if (loaded_) return;
  loaded_ = true;
  // Station, UTC offset, radius, options, the cached map and the spot ring.
  const model::StoredSettings s =
      model_.load(static_cast<float>(leftTwips()), static_cast<float>(topTwips()));
  // The surface and the window from the stored surface width.
  SetPixelSize(static_cast<std::int16_t>(
      pixelSizeForInnerWidth(s.PixelWidth, tpp_, {minSurfaceTwips_, maxSurfaceTwips_})));
  // The stored position, kept reachable on the screen.
  const QSizeF screenTwips = screenSizeTwips();
  const WindowPosition reachable =
      keepReachable({s.Left, s.Top}, screenTwips.width(), screenTwips.height());
  moveWindowTwips(reachable.left, reachable.top);
  fitOnScreen();
  showFields();
  showOptions();
}

void Form1::ShowAfterLoad() {
  setUpdatesEnabled(false);
  model_.startSunTimer();
  if (!model_.state().MapCached) model_.DrawAsync();
  showDrawingNote();
  show();
  setUpdatesEnabled(true);
}

void Form1::Form_Unload() {
  if (model_.unloaded()) return;
  model_.unload(static_cast<float>(leftTwips()), static_cast<float>(topTwips()));
  hide();
}

void Form1::Unload() {
  programUnload_ = true;
  close();
}

void Form1::closeEvent(QCloseEvent* event) {
  if (model_.unloaded()) {
    event->accept();
    return;
  }
  // A close request from the operator's close box or the desktop only hides a window that a
  // server object has claimed in this run; the host can show it again.
  if (model_.ServerActive() && !programUnload_) {
    event->ignore();
    hide();
    return;
  }
  // Unloading from inside a pass or a refresh would pull the map from under them: cancel the
  // pass and unload once it has returned.
  if (model_.passRunning() || model_.refreshing()) {
    closeOwed_ = true;
    if (model_.passRunning()) {
      c_.cmdCancel->setEnabled(false);
      model_.cmdCancel_Click();
    }
    event->ignore();
    return;
  }
  Form_Unload();
  event->accept();
}

}  // namespace orbelle::shell
