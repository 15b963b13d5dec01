// The drawing pass from the model: starting it (at once, from DrawAsync's timer, or after the save
// dialog), its Drawing state, cancelling it, the steps it asks of the model, and the surface's
// scale that a pass or a resize sets.

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "model/map_model.hpp"
#include "model_adapters.hpp"
#include "raster/qt/picture_file.hpp"
#include "render/drawing_pass.hpp"
#include "render/pass_options.hpp"

namespace orbelle::model {
namespace {

// While a pass runs, the growing map is shown at most this often (milliseconds): showing it
// after every polyline would cost more than drawing it.
constexpr std::int64_t kPassShowIntervalMs = 40;

}  // namespace

bool MapModel::passRunning() const { return pass_->running(); }

bool MapModel::CancelDraw() const { return pass_->CancelDraw(); }

void MapModel::setDrawing(bool drawing) {
  drawing_ = drawing;
  emit drawingChanged(drawing_);
}

bool MapModel::settled() const {
  return !passRunning() && !drawing_ && !timer1_.isActive() && !refreshing_ && !saveHeld_;
}

void MapModel::cmdDraw_Click() {
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

void MapModel::DrawAsync() { timer1_.start(); }

void MapModel::cmdCancel_Click() { pass_->requestCancel(); }

void MapModel::beginSaveDialog() {
  saveHeld_ = true;
  setDrawing(true);
}

void MapModel::endSaveDialog() {
  saveHeld_ = false;
  setDrawing(false);
  afterBusy();
}

// Work that waited for the pass, the refresh or the save dialog to end.
void MapModel::afterBusy() {
  if (passRunning() || refreshing_ || saveHeld_) return;
  if (drawOwed_) {
    drawOwed_ = false;
    DrawAsync();
  }
  emit settledChanged();
}

void MapModel::passYield() {
  const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
  if (now - lastPassShowMs_ >= kPassShowIntervalMs) {
    lastPassShowMs_ = now;
    layers_->recompose();
    emit layersChanged();
  }
  QCoreApplication::processEvents();
}

// The scale the pass has set on the map layer becomes the map's: markers, the pointer readout
// and the overlay follow it.
void MapModel::takeScaleOf(raster::Surface& mapLayer) {
  geo::SetMapScale(state_.plane, mapLayer);
  takeScale(mapLayer);
}

void MapModel::takeScale(const raster::Surface& mapLayer) {
  state_.plane.MilesPerPixel = mapLayer.unitWidth();
  // The stored width is the window's, in logical pixels, whatever the screen's pixel ratio.
  state_.plane.PictureWidthPx = static_cast<std::int16_t>(layers_->logicalWidth());
  state_.plane.PictureHeightPx = static_cast<std::int16_t>(layers_->logicalHeight());
  layers_->shareScale();
  emit scaleChanged();
}

void MapModel::applyMapScale(int innerSide, double devicePixelRatio) {
  layers_->setDevicePixelRatio(devicePixelRatio);
  const int side =
      std::max(1, static_cast<int>(std::lround(innerSide * layers_->devicePixelRatio())));
  if (side != layers_->width() || side != layers_->height()) {
    // A map drawn at the old size (or a resize still settling) is drawn again at the new size
    // once the window stops changing; until then its picture shows stretched.
    const raster::Surface* picture = layers_->picture();
    const bool wasSharp = picture && picture->width() == layers_->width() &&
                          picture->height() == layers_->height();
    if (!unloaded_ && (wasSharp || resizeSettle_.isActive())) resizeSettle_.start();
    layers_->resize(side, side);
  } else {
    layers_->mapLayer().clear(raster::kWhite);
  }
  takeScaleOf(layers_->mapLayer());
}

// ---- the cache and pictures ----

void MapModel::loadCacheAtStart() {
  state_.MapCached = false;
  if (!QFileInfo::exists(services_.cacheFile)) return;
  try {
    LoadImage(services_.cacheFile);
    state_.MapCached = true;
  } catch (const raster::PictureError&) {
    // A damaged cache is as good as none: the surface stays blank until the first pass.
  }
}

void MapModel::writeCache(const raster::Surface& mapLayer) {
  try {
    raster::writeBmp(mapLayer, services_.cacheFile);
  } catch (const raster::PictureError& e) {
    // The map is still shown, from memory. The old cache file stays as it was but no longer
    // holds this map, so the map stops counting as cached: the overlay refresh would otherwise
    // bring the old map back from it.
    state_.MapCached = false;
    showMessage(
        QStringLiteral("The map could not be cached: %1").arg(QString::fromStdString(e.what())),
        MessageIcon::Error);
    layers_->setPicture(mapLayer);
    layers_->setPictureVisible(true);
    return;
  }
  state_.MapCached = true;
  try {
    layers_->setPicture(raster::readBmp(services_.cacheFile));
  } catch (const raster::PictureError&) {
    layers_->setPicture(mapLayer);
  }
  layers_->setPictureVisible(true);
}

void MapModel::SaveImage(const QString& fileName) const {
  const raster::Surface* picture = layers_->picture();
  if (!picture) throw raster::PictureError(fileName, "no map picture to save yet");
  raster::writeBmp(*picture, fileName);
}

void MapModel::LoadImage(const QString& fileName) {
  layers_->setPicture(raster::readPicture(fileName));
  layers_->recompose();
  emit layersChanged();
}

// ---- the model seen by the drawing pass ----

void MapModel::PassAdapter::setDrawing(bool drawing) { model_.setDrawing(drawing); }

raster::Surface& MapModel::PassAdapter::beginPass() {
  model_.sunTimer_.stop();
  model_.layers_->setPictureVisible(false);
  model_.lastPassShowMs_ = 0;
  emit model_.passStarted();
  return model_.layers_->mapLayer();
}

void MapModel::PassAdapter::letEventsRun() { model_.passYield(); }

void MapModel::PassAdapter::showMessage(const std::string& text) {
  model_.showMessage(QString::fromStdString(text), MessageIcon::None);
}

void MapModel::PassAdapter::writeCache(const raster::Surface& mapLayer) {
  model_.writeCache(mapLayer);
}

void MapModel::PassAdapter::endPass() {
  model_.takeScale(model_.layers_->mapLayer());
  model_.layers_->recompose();
  emit model_.layersChanged();
}

void MapModel::PassAdapter::refreshOverlay() {
  model_.SunTimer_Timer();
  if (model_.state_.ShowSun) model_.sunTimer_.start();
  emit model_.passFinished();
}

}  // namespace orbelle::model
