#pragma once

// Night shading: the pixels of the map whose place has the sun below the horizon are darkened,
// in steps through the twilight bands, so that the night side reads at a glance. What depends
// only on the map (the place each pixel shows, as a unit vector) is computed once for a
// station, radius and surface size; each refresh then needs one dot product per pixel.
// No Qt, no I/O.

#include <cstdint>
#include <vector>

#include "geometry/plane_inverse.hpp"
#include "plane/map_plane.hpp"
#include "raster/surface.hpp"

namespace orbelle {

// Sun elevations (degrees) that end the bands, and the brightness left in each, in 256ths:
// day 256 (unchanged); civil twilight (0 .. −6°) 208; nautical (−6 .. −12°) 176;
// astronomical (−12 .. −18°) 152; night (below −18°) 128.
inline constexpr double kTwilightBandDegrees[] = {0.0, -6.0, -12.0, -18.0};
inline constexpr std::uint32_t kBandBrightness[] = {208, 176, 152, 128};

class NightShade {
 public:
  // Makes the per-pixel directions for `plane`'s station and the surface's size and user scale
  // (the map's, after SetMapScale), unless they are already made for them. Pixels whose centre
  // lies beyond the antipode show no place and are never shaded.
  void prepare(const geo::MapPlane& plane, const raster::Surface& surface);

  // Darkens every prepared pixel of `surface` by its band for a sun standing over `sun`.
  // The surface must have the size prepared for. Returns the number of pixels darkened.
  int shade(raster::Surface& surface, const geo::EarthDirection& sun) const;

  // Pixels that show a place (the disc of the Earth on the map).
  std::size_t placePixels() const noexcept { return places_.size(); }

 private:
  struct Place {
    std::uint32_t index;  // pixel index, row by row
    float x, y, z;        // the place's unit vector; single precision is ample for bands of 6°
  };
  struct Key {
    double lat = 0.0, lon = 0.0, left = 0.0, top = 0.0, unitWidth = 0.0, unitHeight = 0.0;
    int width = 0, height = 0;
    bool operator==(const Key&) const = default;
  };
  Key key_;
  bool prepared_ = false;
  std::vector<Place> places_;
};

}  // namespace orbelle
