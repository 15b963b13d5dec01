#include "map_layers.hpp"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "raster/picture_file.hpp"

namespace orbelle::shell {

MapLayers::MapLayers(int width, int height) : mapLayer_(width, height), shown_(width, height) {}

void MapLayers::resize(int width, int height) {
  mapLayer_.resize(width, height);
  shown_.resize(width, height);
}

void MapLayers::shareScale() {
  shown_.setScale(mapLayer_.scaleLeft(), mapLayer_.scaleTop(), mapLayer_.scaleWidth(),
                  mapLayer_.scaleHeight());
}

void MapLayers::recompose() {
  const std::size_t count = static_cast<std::size_t>(mapLayer_.width()) *
                            static_cast<std::size_t>(mapLayer_.height());
  std::copy_n(mapLayer_.pixels(), count, shown_.pixels());
  if (!pictureVisible_ || !picture_) return;
  QImage target = raster::wrapSurface(shown_);
  const QImage source = raster::wrapSurface(*picture_);
  if (source.size() == target.size()) {
    std::copy_n(picture_->pixels(), count, shown_.pixels());
    return;
  }
  // Stretched like a picture element: nearest pixels, no smoothing.
  QPainter painter(&target);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(target.rect(), source);
}

}  // namespace orbelle::shell
