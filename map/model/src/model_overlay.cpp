// The overlay over the cached map: the refresh (sun, gray line, path line) on the sun timer and
// wherever the overlay was lost, the repaint rule while the pointer moves, and the dots and the
// path line drawn on it.

#include <QCoreApplication>

#include "model/map_model.hpp"
#include "model_adapters.hpp"
#include "plane/map_drawing.hpp"

namespace orbelle::model {
namespace {

// The pointer must rest this long (milliseconds) before the overlay is rebuilt.
constexpr int kPaintTimerInterval = 1000;

}  // namespace

void MapModel::SunTimer_Timer() {
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
    emit layersChanged();
  } while (refreshAgain_);
  refreshing_ = false;
  if (pathOwed_) {
    pathOwed_ = false;
    DrawPath(owedPathLat_, owedPathLon_);
  }
  afterBusy();
}

double MapModel::DrawPoint(double LatDeg, double LonDeg, raster::Rgb Color, std::int16_t Width) {
  const double miles = geo::DrawPoint(state_.plane, layers_->shown(), LatDeg, LonDeg, Color, Width);
  emit layersChanged();
  return miles;
}

void MapModel::DrawPath(double LatDeg, double LonDeg) {
  if (refreshing_) {
    // The refresh has wiped the old line and will redraw the current one: change the line once
    // it has finished.
    pathOwed_ = true;
    owedPathLat_ = LatDeg;
    owedPathLon_ = LonDeg;
    return;
  }
  geo::DrawPath(state_.plane, layers_->shown(), LatDeg, LonDeg, drawing_);
  emit layersChanged();
}

void MapModel::repaint() {
  layers_->recompose();
  emit layersChanged();
  if (paintQueued_) return;
  paintQueued_ = true;
  // Form_Paint: once the repaint's events have run, the overlay again unless the pointer moves.
  QTimer::singleShot(0, this, [this] {
    paintQueued_ = false;
    if (!state_.PaintDeferred) SunTimer_Timer();
  });
}

void MapModel::redrawOverlay() {
  layers_->recompose();
  emit layersChanged();
  SunTimer_Timer();
}

void MapModel::pointerMoved() {
  state_.PaintDeferred = true;
  paintTimer_.stop();
  paintTimer_.setInterval(kPaintTimerInterval);
  paintTimer_.start();
}

void MapModel::PaintTimer_Timer() {
  paintTimer_.stop();
  state_.PaintDeferred = false;
  SunTimer_Timer();
}

// ---- the model seen by the overlay refresh ----

bool MapModel::OverlayAdapter::Drawing() const { return model_.drawing_; }

void MapModel::OverlayAdapter::clearPaintDeferred() { model_.state_.PaintDeferred = false; }

bool MapModel::OverlayAdapter::ShowSun() const { return model_.state_.ShowSun; }

bool MapModel::OverlayAdapter::ShadeNight() const { return model_.state_.ShadeNight; }

double MapModel::OverlayAdapter::UTCOffsetSeconds() const { return model_.state_.UTCOffsetSeconds; }

CacheReload MapModel::OverlayAdapter::reloadMapCache() {
  if (!model_.state_.MapCached) return CacheReload::NotCached;
  try {
    model_.LoadImage(model_.services_.cacheFile);
  } catch (const std::exception&) {
    model_.state_.MapCached = false;
    return CacheReload::Failed;
  }
  return CacheReload::Reloaded;
}

void MapModel::OverlayAdapter::letEventsRun() { QCoreApplication::processEvents(); }

}  // namespace orbelle::model
