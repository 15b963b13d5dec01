#pragma once

#include "raster/color.hpp"
#include "render/pass_style.hpp"

namespace orbelle::render {

// The window state a drawing pass reads; the window owns it and may change it between passes.
struct PassOptions {
  bool ShowRivers = false;
  raster::Rgb LandColor = kDefaultLandColor;
  raster::Rgb WaterColor = kDefaultWaterColor;
  raster::Rgb IceColor = kDefaultIceColor;
  // Threads that project outline vertices (the calling one included); drawing stays on the
  // calling thread in record order.
  unsigned projectionThreads = 2;
};

}  // namespace orbelle::render
