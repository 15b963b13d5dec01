#include "model/map_layers.hpp"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "raster/qt/picture_file.hpp"

namespace orbelle::model {

MapLayers::MapLayers(int width, int height) : mapLayer_(width, height), shown_(width, height) {}

void MapLayers::resize(int width, int height) {
  mapLayer_.resize(width, height);
  shown_.resize(width, height);
}

int MapLayers::logicalWidth() const noexcept {
  return static_cast<int>(std::lround(mapLayer_.width() / ratio_));
}

int MapLayers::logicalHeight() const noexcept {
  return static_cast<int>(std::lround(mapLayer_.height() / ratio_));
}

void MapLayers::shareScale() {
  shown_.setScale(mapLayer_.scaleLeft(), mapLayer_.scaleTop(), mapLayer_.scaleWidth(),
                  mapLayer_.scaleHeight());
}

void MapLayers::recompose() {
  const std::size_t count =
      static_cast<std::size_t>(mapLayer_.width()) * static_cast<std::size_t>(mapLayer_.height());
  const bool showPicture = pictureVisible_ && picture_;
  if (showPicture && picture_->width() == shown_.width() && picture_->height() == shown_.height()) {
    // The picture covers every pixel: the map layer beneath would not show.
    std::copy_n(picture_->pixels(), count, shown_.pixels());
    return;
  }
  std::copy_n(mapLayer_.pixels(), count, shown_.pixels());
  if (!showPicture) return;
  // Stretched like a picture element: nearest pixels, no smoothing.
  QImage target = raster::wrapSurface(shown_);
  QPainter painter(&target);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(target.rect(), raster::wrapSurface(*picture_));
}

}  // namespace orbelle::model
