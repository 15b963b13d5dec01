#pragma once

// How the window offers itself to the drawing pass and to the overlay refresh.

#include "plane/map_plane.hpp"
#include "render/pass_window.hpp"
#include "shell/form1.hpp"
#include "spots/qt/spot_window.hpp"
#include "sun/sun_overlay.hpp"

namespace orbelle::shell {

class Form1::PassAdapter final : public render::PassWindow {
 public:
  explicit PassAdapter(Form1& form) : form_(form) {}
  void setDrawing(bool drawing) override;
  raster::Surface& beginPass() override;
  void letEventsRun() override;
  void showMessage(const std::string& text) override;
  void writeCache(const raster::Surface& mapLayer) override;
  void endPass() override;
  void refreshOverlay() override;

 private:
  Form1& form_;
};

class Form1::OverlayAdapter final : public OverlayWindow {
 public:
  explicit OverlayAdapter(Form1& form) : form_(form) {}
  bool Drawing() const override;
  void clearPaintDeferred() override;
  bool ShowSun() const override;
  double UTCOffsetSeconds() const override;
  CacheReload reloadMapCache() override;
  void letEventsRun() override;

 private:
  Form1& form_;
};

class Form1::SpotAdapter final : public spots::SpotWindow {
 public:
  explicit SpotAdapter(Form1& form) : form_(form) {}
  const geo::MapPlane& plane() const override;
  spots::ShowOptions showOptions() const override;
  std::int16_t MaxSpots() const override;
  bool Drawing() const override;
  QPoint imageOrigin() const override;
  bool orbellesetrotor(double heading) override;
  bool orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) override;

 private:
  Form1& form_;
  mutable geo::MapPlane plane_;
};

}  // namespace orbelle::shell
