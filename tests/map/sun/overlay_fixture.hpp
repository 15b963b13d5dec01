#pragma once

// A fake map window and a scaled surface for overlay tests.

#include <functional>
#include <string>
#include <vector>

#include "plane/map_plane.hpp"
#include "raster/surface.hpp"
#include "sun/sun_overlay.hpp"

namespace orbelle::testing {

class FakeWindow final : public OverlayWindow {
 public:
  bool drawing = false;
  bool showSun = true;
  bool paintDeferred = true;
  bool mapCached = false;
  bool reloadFails = false;
  double utcOffsetSeconds = 0;
  std::vector<std::string> calls;
  std::function<void()> onReload;  // runs in place of loading the picture
  std::function<void()> onEvents;  // runs as the pending events

  bool Drawing() const override { return drawing; }
  void clearPaintDeferred() override {
    calls.push_back("clearPaintDeferred");
    paintDeferred = false;
  }
  bool ShowSun() const override { return showSun; }
  double UTCOffsetSeconds() const override { return utcOffsetSeconds; }
  CacheReload reloadMapCache() override {
    calls.push_back("reload");
    if (!mapCached) return CacheReload::NotCached;
    if (reloadFails) {
      mapCached = false;
      return CacheReload::Failed;
    }
    if (onReload) onReload();
    return CacheReload::Reloaded;
  }
  void letEventsRun() override {
    calls.push_back("events");
    if (onEvents) onEvents();
  }
};

// A white side × side surface in map coordinates for a station and radius.
struct MapScene {
  MapScene(double lat, double lon, std::int16_t radius, int side = 600) : surface(side, side) {
    plane.LatHere = lat;
    plane.LonHere = lon;
    plane.MaxDx = radius;
    geo::SetMapScale(plane, surface);
  }
  raster::Rgb at(geo::MapPoint p) const {
    const geo::PixelIndex i = geo::pixelIndexOf(plane, surface, p);
    return surface.pixel(i.px, i.py).value_or(0xFFFFFFFFu);
  }
  // Whether a pixel within `radius` pixels of p has the colour.
  bool near(geo::MapPoint p, raster::Rgb color, int radius = 1) const {
    const geo::PixelIndex i = geo::pixelIndexOf(plane, surface, p);
    for (int dy = -radius; dy <= radius; ++dy) {
      for (int dx = -radius; dx <= radius; ++dx) {
        if (surface.pixel(i.px + dx, i.py + dy) == color) return true;
      }
    }
    return false;
  }
  geo::MapPlane plane;
  raster::Surface surface;
};

}  // namespace orbelle::testing
