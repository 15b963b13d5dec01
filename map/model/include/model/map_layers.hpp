#pragma once

// The three layers of the map surface Picture1, composed into the pixels the window shows:
// the persistent map layer (white until drawn), the picture Image1 (the cached map, stretched
// to its size, when visible) and the overlay, drawn straight onto the shown pixels so that XOR
// works on what is shown. Recomposing puts the first two back and so wipes the overlay.

#include <optional>

#include "raster/surface.hpp"

namespace orbelle::model {

class MapLayers {
 public:
  MapLayers(int width, int height);

  // New pixel size for both layers, each cleared to white; Image1 is shown at the new size.
  // The user scale is kept by neither: apply SetMapScale and then shareScale().
  void resize(int width, int height);
  int width() const noexcept { return mapLayer_.width(); }
  int height() const noexcept { return mapLayer_.height(); }
  // Device pixels per logical pixel of the window: the layers are made at device pixels so that
  // the map is crisp; the window shows them at width() / ratio logical pixels.
  double devicePixelRatio() const noexcept { return ratio_; }
  void setDevicePixelRatio(double ratio) noexcept { ratio_ = ratio >= 1.0 ? ratio : 1.0; }
  // The layers' size in logical pixels (rounded).
  int logicalWidth() const noexcept;
  int logicalHeight() const noexcept;

  // The persistent map layer, drawn by the drawing pass.
  raster::Surface& mapLayer() noexcept { return mapLayer_; }
  const raster::Surface& mapLayer() const noexcept { return mapLayer_; }
  // The shown pixels; drawing here is the overlay.
  raster::Surface& shown() noexcept { return shown_; }
  const raster::Surface& shown() const noexcept { return shown_; }

  // Gives the shown pixels the map layer's user scale, so the overlay is drawn in the same map
  // coordinates as the map.
  void shareScale();

  // Image1's picture: any size, shown stretched over the whole surface.
  void setPicture(raster::Surface picture) { picture_ = std::move(picture); }
  void clearPicture() { picture_.reset(); }
  const raster::Surface* picture() const noexcept { return picture_ ? &*picture_ : nullptr; }
  void setPictureVisible(bool visible) noexcept { pictureVisible_ = visible; }
  bool pictureVisible() const noexcept { return pictureVisible_; }

  // Shown pixels = map layer, then Image1's picture stretched over it when visible and loaded.
  // The overlay is lost.
  void recompose();

 private:
  raster::Surface mapLayer_;
  raster::Surface shown_;
  std::optional<raster::Surface> picture_;
  bool pictureVisible_ = true;
  double ratio_ = 1.0;
};

}  // namespace orbelle::model
