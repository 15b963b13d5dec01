#include "sun/night_shade.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orbelle {

void NightShade::prepare(const geo::MapPlane& plane, const raster::Surface& surface) {
  const Key key{plane.LatHere,          plane.LonHere,         surface.scaleLeft(),
                surface.scaleTop(),     surface.unitWidth(),   surface.unitHeight(),
                surface.width(),        surface.height()};
  if (prepared_ && key == key_) return;
  key_ = key;
  prepared_ = true;
  places_.clear();
  const geo::PlaneInverse inverse(plane.LatHere, plane.LonHere);
  for (int py = 0; py < surface.height(); ++py) {
    const double y = surface.scaleTop() + py * surface.unitHeight();
    for (int px = 0; px < surface.width(); ++px) {
      const double x = surface.scaleLeft() + px * surface.unitWidth();
      const std::optional<geo::EarthDirection> d = inverse.direction({x, y});
      if (!d) continue;
      places_.push_back({static_cast<std::uint32_t>(py * surface.width() + px),
                         static_cast<float>(d->x), static_cast<float>(d->y),
                         static_cast<float>(d->z)});
    }
  }
}

int NightShade::shade(raster::Surface& surface, const geo::EarthDirection& sun) const {
  constexpr int kBands = sizeof(kBandBrightness) / sizeof(kBandBrightness[0]);
  // The sine of the sun's elevation at a place is the dot product of the two unit vectors.
  float limit[kBands];
  for (int b = 0; b < kBands; ++b) {
    limit[b] = static_cast<float>(std::sin(kTwilightBandDegrees[b] * geo::kDegToRad));
  }
  const float sx = static_cast<float>(sun.x);
  const float sy = static_cast<float>(sun.y);
  const float sz = static_cast<float>(sun.z);
  raster::Pixel* pixels = surface.pixels();
  const std::size_t count =
      static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height());
  int darkened = 0;
  for (const Place& p : places_) {
    const float s = p.x * sx + p.y * sy + p.z * sz;
    if (s >= limit[0] || p.index >= count) continue;  // day
    int band = 0;
    while (band + 1 < kBands && s < limit[band + 1]) ++band;
    const std::uint32_t k = kBandBrightness[band];
    const raster::Pixel c = pixels[p.index];
    const std::uint32_t r = (((c >> 16) & 0xffu) * k) >> 8;
    const std::uint32_t g = (((c >> 8) & 0xffu) * k) >> 8;
    const std::uint32_t b = ((c & 0xffu) * k) >> 8;
    pixels[p.index] = raster::kOpaque | (r << 16) | (g << 8) | b;
    ++darkened;
  }
  return darkened;
}

}  // namespace orbelle
