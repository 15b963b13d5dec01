#include "spots/slot_layout.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plane/map_plane.hpp"
#include "raster/surface.hpp"

namespace orbelle::spots {
namespace {

// A 600-pixel surface scaled to a radius of 3000 miles: 10 miles per pixel, the station at the
// centre of pixel 300.
PixelScale tenMilesPerPixel() {
  geo::MapPlane plane;
  plane.MaxDx = 3000;
  raster::Surface surface(600, 600);
  geo::SetMapScale(plane, surface);
  return scaleOf(surface);
}

TEST(SlotLayout, MarkersAreCentredOnThePixelTheirPointRoundsTo) {
  const PixelScale scale = tenMilesPerPixel();
  auto box = markerBoxOf({0.0, 0.0}, scale);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->left, 297);
  EXPECT_EQ(box->top, 297);

  // 690.72 miles north (10 degrees of arc): pixel-y 300 − 69.072 = 230.928 → 231.
  box = markerBoxOf({0.0, 690.72}, scale);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->left, 297);
  EXPECT_EQ(box->top, 228);

  // East and south; a pixel coordinate of exactly .5 rounds to even (x 325 → 32.5 → 32).
  box = markerBoxOf({325.0, -1005.0}, scale);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->left, 332 - 3);
  EXPECT_EQ(box->top, 400 - 3);  // 300 + 100.5 → 400
}

TEST(SlotLayout, MarkersOffTheImageOrNotFiniteHaveNoPlace) {
  const PixelScale scale = tenMilesPerPixel();
  EXPECT_TRUE(markerBoxOf({-3030.0, 0.0}, scale).has_value());   // pixel −3: still overlaps
  EXPECT_FALSE(markerBoxOf({-3040.0, 0.0}, scale).has_value());  // pixel −4: wholly left
  EXPECT_TRUE(markerBoxOf({0.0, -3020.0}, scale).has_value());   // pixel 602
  EXPECT_FALSE(markerBoxOf({0.0, -3030.0}, scale).has_value());  // pixel 603
  EXPECT_FALSE(markerBoxOf({12432.96, 0.0}, scale).has_value());
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(markerBoxOf({nan, 0.0}, scale).has_value());
  EXPECT_FALSE(markerBoxOf({0.0, std::numeric_limits<double>::infinity()}, scale).has_value());
}

TEST(SlotLayout, LinesJoinTheMarkerCentresAndAreClippedNearTheImage) {
  const PixelScale scale = tenMilesPerPixel();
  auto line = lineOf({0.0, 0.0}, {1000.0, 1000.0}, scale);
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(line->x1, 300.0);
  EXPECT_EQ(line->y1, 300.0);
  EXPECT_EQ(line->x2, 400.0);
  EXPECT_EQ(line->y2, 200.0);

  // A far end on the other side of the Earth is cut 8 pixels beyond the image, on the line.
  line = lineOf({0.0, 0.0}, {12000.0, 0.0}, scale);
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(line->x2, 607.0);
  EXPECT_EQ(line->y2, 300.0);
  line = lineOf({-6000.0, 6000.0}, {0.0, 0.0}, scale);  // from pixel (−300, −300)
  ASSERT_TRUE(line.has_value());
  EXPECT_DOUBLE_EQ(line->x1, -8.0);
  EXPECT_DOUBLE_EQ(line->y1, -8.0);

  // Wholly outside, or with a point that is not finite: no line.
  EXPECT_FALSE(lineOf({-9000.0, 0.0}, {-8000.0, 5000.0}, scale).has_value());
  EXPECT_FALSE(
      lineOf({0.0, 0.0}, {std::numeric_limits<double>::quiet_NaN(), 0.0}, scale).has_value());
}

TEST(SlotLayout, VisibilityRules) {
  const ShowOptions all{true, true, true};
  const ShowOptions spotsOnly{true, false, false};
  const ShowOptions none{false, false, false};

  Visibility v = visibilityForDrawSpots(all, true);
  EXPECT_TRUE(v.spot && v.spotter && v.line);
  v = visibilityForDrawSpots(all, false);
  EXPECT_TRUE(v.spot);
  EXPECT_FALSE(v.spotter || v.line);
  v = visibilityForDrawSpots(spotsOnly, true);
  EXPECT_TRUE(v.spot);
  EXPECT_FALSE(v.spotter || v.line);
  v = visibilityForDrawSpots(none, true);
  EXPECT_FALSE(v.spot || v.spotter || v.line);
  // Lines follow their own option, not ShowSpotBy.
  v = visibilityForDrawSpots({true, false, true}, true);
  EXPECT_FALSE(v.spotter);
  EXPECT_TRUE(v.line);

  // AddSpot always shows the new spot's marker.
  v = visibilityForAddSpot({false, true, true}, true);
  EXPECT_TRUE(v.spot && v.spotter && v.line);
  v = visibilityForAddSpot(spotsOnly, false);
  EXPECT_TRUE(v.spot);
  EXPECT_FALSE(v.spotter || v.line);
}

TEST(SlotLayout, SpotterKnownFromMinus90Up) {
  SpotRow row;
  row.SpotByLat = -90.0;
  EXPECT_TRUE(spotterKnown(row));
  row.SpotByLat = -90.000001;
  EXPECT_FALSE(spotterKnown(row));
  row.SpotByLat = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(spotterKnown(row));
}

}  // namespace
}  // namespace orbelle::spots
