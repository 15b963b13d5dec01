#include "plane/map_plane.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace orbelle::geo {
namespace {

// The scale spans the radius (at least a mile) both ways, y up, from the surface's size.
TEST(SetMapScale, SpansTheMapRadiusOnBothAxesWithYUp) {
  const std::tuple<std::int16_t, int, int, double> cases[] = {{12437, 600, 600, 12437.0},
                                                              {1000, 300, 200, 1000.0},
                                                              {0, 100, 100, 1.0},
                                                              {-32768, 100, 100, 1.0}};
  MapPlane plane;
  raster::Surface surface(1, 1);
  for (auto [maxDx, width, height, radius] : cases) {
    SCOPED_TRACE(maxDx);
    plane.MaxDx = maxDx;
    surface.resize(width, height);
    SetMapScale(plane, surface);
    EXPECT_EQ(std::tuple(surface.scaleLeft(), surface.scaleTop(), surface.scaleWidth(),
                         surface.scaleHeight()),
              std::tuple(-radius, radius, 2 * radius, -2 * radius));
    EXPECT_EQ(plane.MilesPerPixel, 2 * radius / width);
    EXPECT_EQ(std::tuple(plane.PictureWidthPx, plane.PictureHeightPx, plane.MaxDx),
              std::tuple(width, height, maxDx));
  }
}

// Pixel positions from the read-back scale, indices rounded ties to even.
TEST(MapPlane, PixelsOfMapPoints) {
  MapPlane plane;
  plane.MaxDx = 100;
  raster::Surface surface(200, 200);
  SetMapScale(plane, surface);
  const PixelPoint p = pixelOf(plane, surface, {25.25, -40.5});
  EXPECT_EQ(std::pair(p.px, p.py), std::pair(125.25, 140.5));
  const std::tuple<MapPoint, int, int> cases[] = {
      {{0.5, 0.5}, 100, 100},  // 100.5 → 100, 99.5 → 100
      {{1.5, -1.5}, 102, 102},
      {{-2.5, 2.5}, 98, 98}};  // 101.5 → 102, 97.5 → 98
  for (auto [point, px, py] : cases) {
    const PixelIndex i = pixelIndexOf(plane, surface, point);
    EXPECT_EQ(std::pair(i.px, i.py), std::pair(px, py)) << point.x << ", " << point.y;
  }
  const PixelIndex far = pixelIndexOf(plane, surface, {1e12, -1e12});
  EXPECT_FALSE(surface.pixel(far.px, far.py).has_value());
}

}  // namespace
}  // namespace orbelle::geo
