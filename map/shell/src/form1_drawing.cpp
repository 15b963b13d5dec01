// Drawing from the window: the drawing pass with its window steps, the Drawing property, the
// cancel button, the one-shot timer of DrawAsync, the overlay refresh and the overlay's dots and
// path line.

#include <QCoreApplication>
#include <QDateTime>
#include <QPushButton>
#include <QTimer>

#include "form1_parts.hpp"
#include "plane/map_drawing.hpp"
#include "map_layers.hpp"
#include "render/drawing_pass.hpp"
#include "shell/surface_widget.hpp"

namespace orbelle::shell {
namespace {

// While a pass runs, the growing map is shown at most this often (milliseconds): showing it
// after every polyline would cost more than drawing it.
constexpr std::int64_t kPassShowIntervalMs = 40;

}  // namespace

void Form1::setDrawing(bool drawing) {
  drawing_ = drawing;
  if (drawing_) {
    c_.FrameSetup->hide();
    c_.cmdSetup->setEnabled(false);
    c_.cmdSavePict->setEnabled(false);
    setCursor(Qt::WaitCursor);
  } else {
    c_.cmdSetup->setEnabled(true);
    c_.cmdSavePict->setEnabled(true);
    unsetCursor();
  }
}

bool Form1::passRunning() const { return pass_->running(); }

bool Form1::CancelDraw() const { return pass_->CancelDraw(); }

void Form1::cmdDraw_Click() {
  if (saveHeld_) {
    drawOwed_ = true;  // after the save dialog
    return;
  }
  passOptions_->ShowRivers = state_.ShowRivers;
  passOptions_->LandColor = state_.LandColor;
  passOptions_->WaterColor = state_.WaterColor;
  passOptions_->IceColor = state_.IceColor;
  pass_->cmdDraw_Click();
  if (!passRunning()) afterBusy();
}

void Form1::DrawAsync() { c_.Timer1->start(); }

void Form1::Timer1_Timer() {
  c_.Timer1->stop();
  cmdDraw_Click();
}

void Form1::cmdCancel_Click() {
  c_.cmdCancel->setEnabled(false);
  pass_->requestCancel();
}

void Form1::passYield() {
  const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
  if (now - lastPassShowMs_ >= kPassShowIntervalMs) {
    lastPassShowMs_ = now;
    layers_->recompose();
    c_.Picture1->update();
  }
  QCoreApplication::processEvents();
}

// Work that waited for the pass, the refresh or the save dialog to end.
void Form1::afterBusy() {
  if (passRunning() || refreshing_ || saveHeld_) return;
  if (drawOwed_) {
    drawOwed_ = false;
    DrawAsync();
  }
  if (closeOwed_) {
    closeOwed_ = false;
    QTimer::singleShot(0, this, [this] { close(); });
  }
}

// ---- the window seen by the drawing pass ----

void Form1::PassAdapter::setDrawing(bool drawing) { form_.setDrawing(drawing); }

raster::Surface& Form1::PassAdapter::beginPass() {
  form_.c_.cmdCancel->setEnabled(true);
  form_.c_.SunTimer->stop();
  form_.layers_->setPictureVisible(false);
  form_.lastPassShowMs_ = 0;
  return form_.layers_->mapLayer();
}

void Form1::PassAdapter::letEventsRun() { form_.passYield(); }

void Form1::PassAdapter::showMessage(const std::string& text) {
  form_.services_.messages->message(QString::fromStdString(text), form_.caption(),
                                    MessageIcon::None);
}

void Form1::PassAdapter::writeCache(const raster::Surface& mapLayer) { form_.writeCache(mapLayer); }

void Form1::PassAdapter::endPass() {
  form_.layers_->shareScale();
  form_.c_.cmdCancel->setEnabled(false);
  form_.layers_->recompose();
  form_.c_.Picture1->update();
}

void Form1::PassAdapter::refreshOverlay() {
  form_.SunTimer_Timer();
  if (form_.state_.ShowSun) form_.c_.SunTimer->start();
}

// ---- the overlay ----

void Form1::SunTimer_Timer() {
  if (!overlay_) return;  // not loaded yet
  // A refresh reached from inside a refresh (through its event yield) runs after it instead:
  // nested, the path line's XOR redraw would run twice and erase the line.
  if (refreshing_) {
    refreshAgain_ = true;
    return;
  }
  refreshing_ = true;
  do {
    refreshAgain_ = false;
    overlay_->SunTimer_Timer(*overlayWindow_, state_.plane, layers_->shown());
    c_.Picture1->update();
  } while (refreshAgain_);
  refreshing_ = false;
  if (pathOwed_) {
    pathOwed_ = false;
    DrawPath(owedPathLat_, owedPathLon_);
  }
  afterBusy();
}

bool Form1::OverlayAdapter::Drawing() const { return form_.Drawing(); }

void Form1::OverlayAdapter::clearPaintDeferred() { form_.state_.PaintDeferred = false; }

bool Form1::OverlayAdapter::ShowSun() const { return form_.state_.ShowSun; }

double Form1::OverlayAdapter::UTCOffsetSeconds() const { return form_.state_.UTCOffsetSeconds; }

CacheReload Form1::OverlayAdapter::reloadMapCache() {
  if (!form_.state_.MapCached) return CacheReload::NotCached;
  try {
    form_.LoadImage(form_.services_.cacheFile);
  } catch (const std::exception&) {
    form_.state_.MapCached = false;
    return CacheReload::Failed;
  }
  return CacheReload::Reloaded;
}

void Form1::OverlayAdapter::letEventsRun() { QCoreApplication::processEvents(); }

double Form1::DrawPoint(double LatDeg, double LonDeg, raster::Rgb Color, std::int16_t Width) {
  const double miles = geo::DrawPoint(state_.plane, layers_->shown(), LatDeg, LonDeg, Color, Width);
  c_.Picture1->update();
  return miles;
}

void Form1::DrawPath(double LatDeg, double LonDeg) {
  if (refreshing_) {
    // The refresh has wiped the old line and will redraw the current one: change the line
    // once it has finished.
    pathOwed_ = true;
    owedPathLat_ = LatDeg;
    owedPathLon_ = LonDeg;
    return;
  }
  geo::DrawPath(state_.plane, layers_->shown(), LatDeg, LonDeg, Drawing());
  c_.Picture1->update();
}

}  // namespace orbelle::shell
