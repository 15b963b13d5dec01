#pragma once

// How the model offers itself to the drawing pass and to the overlay refresh.

#include "model/map_model.hpp"
#include "render/pass_window.hpp"
#include "sun/sun_overlay.hpp"

namespace orbelle::model {

class MapModel::PassAdapter final : public render::PassWindow {
 public:
  explicit PassAdapter(MapModel& model) : model_(model) {}
  void setDrawing(bool drawing) override;
  raster::Surface& beginPass() override;
  void letEventsRun() override;
  void showMessage(const std::string& text) override;
  void writeCache(const raster::Surface& mapLayer) override;
  void endPass() override;
  void refreshOverlay() override;

 private:
  MapModel& model_;
};

class MapModel::OverlayAdapter final : public OverlayWindow {
 public:
  explicit OverlayAdapter(MapModel& model) : model_(model) {}
  bool Drawing() const override;
  void clearPaintDeferred() override;
  bool ShowSun() const override;
  bool ShadeNight() const override;
  double UTCOffsetSeconds() const override;
  CacheReload reloadMapCache() override;
  void letEventsRun() override;

 private:
  MapModel& model_;
};

}  // namespace orbelle::model
