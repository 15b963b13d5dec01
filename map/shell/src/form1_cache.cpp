// The map cache and pictures: "MapCache.bmp" written after each completed pass and read at
// start, the overlay's repaint rules (Form_Paint, PaintDeferred, PaintTimer), "&Save picture",
// and the host's picture save and load.

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include "form1_parts.hpp"
#include "map_layers.hpp"
#include "raster/qt/picture_file.hpp"
#include "shell/surface_widget.hpp"
#include "shell/texts.hpp"

namespace orbelle::shell {
namespace {

bool looksLikeBmp(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(2) == "BM";
}

}  // namespace

void Form1::loadCacheAtStart() {
  if (!QFileInfo::exists(services_.cacheFile)) {
    state_.MapCached = false;
    return;
  }
  try {
    LoadImage(services_.cacheFile);
    state_.MapCached = true;
  } catch (const raster::PictureError&) {
    // A damaged cache is as good as none: the surface stays blank until the first pass.
    state_.MapCached = false;
  }
}

void Form1::writeCache(const raster::Surface& mapLayer) {
  try {
    raster::writeBmp(mapLayer, services_.cacheFile);
  } catch (const raster::PictureError& e) {
    // The map is still shown, from memory. The old cache file stays as it was but no longer
    // holds this map, so the window stops counting it as cached: the overlay refresh would
    // otherwise bring the old map back from it.
    state_.MapCached = false;
    services_.messages->message(
        QStringLiteral("The map could not be cached: %1").arg(QString::fromStdString(e.what())),
        caption(), MessageIcon::Error);
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

void Form1::SaveImage(const QString& fileName) const {
  const raster::Surface* picture = layers_->picture();
  if (!picture) {
    throw raster::PictureError(fileName, "no map picture to save yet");
  }
  raster::writeBmp(*picture, fileName);
}

void Form1::LoadImage(const QString& fileName) {
  if (looksLikeBmp(fileName)) {
    layers_->setPicture(raster::readBmp(fileName));
  } else {
    QImageReader reader(fileName);
    const QImage image = reader.read();
    if (image.isNull()) {
      throw raster::PictureError(fileName, reader.errorString().toStdString());
    }
    layers_->setPicture(raster::surfaceFromImage(image));
  }
  layers_->recompose();
  c_.Picture1->update();
}

void Form1::cmdSavePict_Click() {
  if (!layers_->picture()) {
    services_.messages->message(QString::fromUtf8(text::kNothingToSave),
                                QString::fromUtf8(text::kSavePictureTitle),
                                MessageIcon::Information);
    return;
  }
  setDrawing(true);
  saveHeld_ = true;

  SaveDialogRequest request;
  request.filter = QString::fromUtf8(text::kBitmapFilter);
  request.defaultExtension = QString::fromUtf8(text::kBitmapExtension);
  request.initialFolder = services_.pictureFolder.isEmpty()
                              ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                              : services_.pictureFolder;
  request.overwritePrompt = true;
  SaveDialogResult chosen;
  for (;;) {
    chosen = services_.saveDialog->show(request);
    if (!chosen.extensionDifferent) break;
    services_.messages->message(QString::fromUtf8(text::kOnlyBmp),
                                QString::fromUtf8(text::kSavePictureTitle),
                                MessageIcon::Information);
  }
  if (!chosen.fileName.isEmpty()) {
    try {
      SaveImage(chosen.fileName);
    } catch (const raster::PictureError& e) {
      services_.messages->message(QStringLiteral("The picture could not be saved: %1")
                                      .arg(QString::fromStdString(e.what())),
                                  QString::fromUtf8(text::kSavePictureTitle), MessageIcon::Error);
    }
  }

  saveHeld_ = false;
  setDrawing(false);
  afterBusy();
}

// ---- repaint and the overlay ----

void Form1::repaintSurface() {
  layers_->recompose();
  c_.Picture1->update();
  if (formPaintQueued_) return;
  formPaintQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    formPaintQueued_ = false;
    Form_Paint();
  });
}

void Form1::Form_Paint() {
  if (!state_.PaintDeferred) SunTimer_Timer();
}

void Form1::PaintTimer_Timer() {
  c_.PaintTimer->stop();
  state_.PaintDeferred = false;
  SunTimer_Timer();
}

void Form1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  repaintSurface();
}

}  // namespace orbelle::shell
