#pragma once

// How the window offers itself to the drawing pass and to the overlay refresh.

#include "render/pass_window.hpp"
#include "shell/form1.hpp"
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

}  // namespace orbelle::shell
