#include "plane/map_plane.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/constants.hpp"
#include "geometry/rounding.hpp"

namespace orbelle::geo {
namespace {

TEST(SetMapScale, SpansTheMapRadiusOnBothAxesWithYUp) {
  MapPlane plane;
  plane.MaxDx = 12437;
  raster::Surface surface(600, 600);
  SetMapScale(plane, surface);
  EXPECT_EQ(surface.scaleLeft(), -12437.0);
  EXPECT_EQ(surface.scaleTop(), 12437.0);
  EXPECT_EQ(surface.scaleWidth(), 24874.0);
  EXPECT_EQ(surface.scaleHeight(), -24874.0);
  EXPECT_EQ(plane.MilesPerPixel, 24874.0 / 600);
  EXPECT_EQ(plane.PictureWidthPx, 600);
  EXPECT_EQ(plane.PictureHeightPx, 600);
  EXPECT_EQ(surface.toPixelX(0.0), 300.0);
  EXPECT_EQ(surface.toPixelY(0.0), 300.0);
  EXPECT_EQ(surface.toPixelY(12437.0), 0.0);    // north is at the top
  EXPECT_EQ(surface.toPixelX(12437.0), 600.0);  // east is at the right
}

TEST(SetMapScale, ReadsTheSurfaceSizeEveryTime) {
  MapPlane plane;
  plane.MaxDx = 1000;
  raster::Surface surface(300, 200);
  SetMapScale(plane, surface);
  EXPECT_EQ(plane.PictureWidthPx, 300);
  EXPECT_EQ(plane.PictureHeightPx, 200);
  surface.resize(500, 500);
  SetMapScale(plane, surface);
  EXPECT_EQ(plane.PictureWidthPx, 500);
  EXPECT_EQ(plane.MilesPerPixel, 4.0);
}

TEST(SetMapScale, RadiusOfZeroOrLessIsBoundedToOneMile) {
  for (const std::int16_t radius : {std::int16_t{0}, std::int16_t{-5}, std::int16_t{-32768}}) {
    MapPlane plane;
    plane.MaxDx = radius;
    raster::Surface surface(100, 100);
    EXPECT_EQ(plane.mapRadius(), 1);
    SetMapScale(plane, surface);
    EXPECT_EQ(surface.scaleLeft(), -1.0);
    EXPECT_EQ(surface.scaleTop(), 1.0);
    EXPECT_EQ(plane.MilesPerPixel, 0.02);
    EXPECT_EQ(plane.MaxDx, radius);  // the setting itself is left alone
  }
}

TEST(PixelOfMapPoint, UsesTheReadBackScaleAndRoundsTiesToEven) {
  MapPlane plane;
  plane.MaxDx = 100;
  raster::Surface surface(200, 200);
  SetMapScale(plane, surface);
  ASSERT_EQ(plane.MilesPerPixel, 1.0);

  const PixelPoint centre = pixelOf(plane, surface, {0.0, 0.0});
  EXPECT_EQ(centre.px, 100.0);
  EXPECT_EQ(centre.py, 100.0);
  const PixelPoint p = pixelOf(plane, surface, {25.25, -40.5});
  EXPECT_EQ(p.px, 125.25);
  EXPECT_EQ(p.py, 140.5);

  EXPECT_EQ(pixelIndexOf(plane, surface, {0.5, 0.5}).px, 100);   // 100.5 → 100
  EXPECT_EQ(pixelIndexOf(plane, surface, {1.5, 1.5}).px, 102);   // 101.5 → 102
  EXPECT_EQ(pixelIndexOf(plane, surface, {0.5, 0.5}).py, 100);   // 99.5 → 100
  EXPECT_EQ(pixelIndexOf(plane, surface, {1.5, -1.5}).py, 102);  // 101.5 → 102
  EXPECT_EQ(pixelIndexOf(plane, surface, {-2.5, 2.5}).px, 98);   // 97.5 → 98
  EXPECT_EQ(pixelIndexOf(plane, surface, {-2.5, 2.5}).py, 98);

  // A position far outside stays outside: the surface has no pixel there.
  const PixelIndex far = pixelIndexOf(plane, surface, {1e12, -1e12});
  EXPECT_FALSE(surface.pixel(far.px, far.py).has_value());
}

// The projection itself is the geometry tests' subject; here only that the plane uses its station.
TEST(MapPlane, ProjectsFromItsStation) {
  MapPlane plane;
  plane.LatHere = 0;
  plane.LonHere = 0;
  const MapPoint east = plane.ProjectPoint(0, 90);
  EXPECT_NEAR(east.x, 6216.48, 1e-9);
  EXPECT_NEAR(east.y, 0.0, 1e-9);
  plane.LatHere = 40;
  plane.LonHere = -75;
  const MapPoint self = plane.ProjectPoint(40, -75);
  EXPECT_EQ(self.x, 0.0);
  EXPECT_EQ(self.y, 0.0);
  const MapPoint fast = plane.projector().project(51.5, 0);
  const MapPoint literal = plane.ProjectPoint(51.5, 0);
  EXPECT_NEAR(fast.x, literal.x, 1e-6);
  EXPECT_NEAR(fast.y, literal.y, 1e-6);
}

}  // namespace
}  // namespace orbelle::geo
