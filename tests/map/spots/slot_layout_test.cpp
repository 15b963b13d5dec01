#include "spots/slot_layout.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

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

// A 7 × 7 marker centred on the pixel its point rounds to (ties to even), while it overlaps the
// image; nothing for a point that is not finite.
TEST(SlotLayout, MarkersAreCentredOnThePixelTheirPointRoundsTo) {
  struct Case {
    geo::MapPoint point;
    std::optional<MarkerBox> box;
  };
  const Case cases[] = {
      {{0.0, 0.0}, MarkerBox{297, 297}},
      {{0.0, 690.72}, MarkerBox{297, 228}},     // pixel-y 300 − 69.072 = 230.928 → 231
      {{325.0, -1005.0}, MarkerBox{329, 397}},  // x 332.5 → 332, y 400.5 → 400
      {{-3030.0, 0.0}, MarkerBox{-6, 297}},     // pixel −3: still overlaps
      {{-3040.0, 0.0}, std::nullopt},           // pixel −4: wholly left
      {{0.0, -3020.0}, MarkerBox{297, 599}},    // pixel 602
      {{0.0, -3030.0}, std::nullopt},           // pixel 603
      {{12432.96, 0.0}, std::nullopt},
      {{NAN, 0.0}, std::nullopt},
      {{0.0, INFINITY}, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<MarkerBox> box = markerBoxOf(c.point, tenMilesPerPixel());
    ASSERT_EQ(box.has_value(), c.box.has_value()) << c.point.x << ", " << c.point.y;
    if (box) {
      EXPECT_EQ(box->left, c.box->left) << c.point.x << ", " << c.point.y;
      EXPECT_EQ(box->top, c.box->top) << c.point.x << ", " << c.point.y;
    }
  }
}

// Lines join the marker centres; a far end is cut 8 pixels beyond the image, on the line; a line
// wholly outside or with a point that is not finite is nothing.
TEST(SlotLayout, LinesJoinTheMarkerCentresAndAreClippedNearTheImage) {
  struct Case {
    geo::MapPoint from, to;
    std::optional<PixelSegment> line;
  };
  const Case cases[] = {
      {{0.0, 0.0}, {1000.0, 1000.0}, PixelSegment{300, 300, 400, 200}},
      {{0.0, 0.0}, {12000.0, 0.0}, PixelSegment{300, 300, 607, 300}},
      {{-6000.0, 6000.0}, {0.0, 0.0}, PixelSegment{-8, -8, 300, 300}},
      {{-9000.0, 0.0}, {-8000.0, 5000.0}, std::nullopt},
      {{0.0, 0.0}, {NAN, 0.0}, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<PixelSegment> line = lineOf(c.from, c.to, tenMilesPerPixel());
    ASSERT_EQ(line.has_value(), c.line.has_value()) << c.to.x;
    if (line) {
      EXPECT_DOUBLE_EQ(line->x1, c.line->x1);
      EXPECT_DOUBLE_EQ(line->y1, c.line->y1);
      EXPECT_DOUBLE_EQ(line->x2, c.line->x2);
      EXPECT_DOUBLE_EQ(line->y2, c.line->y2);
    }
  }
}

// For every combination of the options and a known or unknown spotter: the redraw shows the spot
// marker by ShowSpots and the spotter marker and the line by their own options when the spotter
// is known; AddSpot always shows the spot marker; a slot gets a placement for what shows only.
TEST(SlotLayout, VisibilityRulesAndPlacement) {
  SpotRow row;
  row.spotter = {1000.0, 1000.0};
  for (int bits = 0; bits < 16; ++bits) {
    const ShowOptions show{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
    const bool known = (bits & 8) != 0;
    SCOPED_TRACE(bits);
    for (const bool adding : {false, true}) {
      const Visibility v =
          adding ? visibilityForAddSpot(show, known) : visibilityForDrawSpots(show, known);
      EXPECT_EQ(v.spot, show.ShowSpots || adding);
      EXPECT_EQ(v.spotter, known && show.ShowSpotBy);
      EXPECT_EQ(v.line, known && show.ShowConnectingLines);
      const SlotPlacement p = placeSlot(row, tenMilesPerPixel(), v);
      EXPECT_EQ(p.spotMarker.has_value(), v.spot);
      EXPECT_EQ(p.spotterMarker.has_value(), v.spotter);
      EXPECT_EQ(p.line.has_value(), v.line);
    }
  }
  // A spotter is known from latitude −90 up.
  for (const auto& [lat, known] : {std::pair{-90.0, true}, {-90.000001, false}, {NAN, false}}) {
    row.SpotByLat = lat;
    EXPECT_EQ(spotterKnown(row), known) << lat;
  }
}

}  // namespace
}  // namespace orbelle::spots
