#include "spots/slot_layout.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>

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

constexpr int kNone = -1000;  // no marker, no line

// A 7 × 7 marker centred on the pixel its point rounds to (ties to even), while it overlaps the
// image; nothing for a point that is not finite. Lines join the marker centres; a far end is cut
// 8 pixels beyond the image, on the line; a line wholly outside or with a point that is not
// finite is nothing.
TEST(SlotLayout, MarkersAndLinesInPixels) {
  const PixelScale scale = tenMilesPerPixel();
  const std::tuple<geo::MapPoint, int, int> markers[] = {
      {{0.0, 690.72}, 297, 228},     // pixel-y 300 − 69.072 = 230.928 → 231
      {{325.0, -1005.0}, 329, 397},  // x 332.5 → 332, y 400.5 → 400
      {{-3030.0, 0.0}, -6, 297},     // pixel −3: still overlaps
      {{-3040.0, 0.0}, kNone, 0},    // pixel −4: wholly left
      {{0.0, -3020.0}, 297, 599},    // pixel 602
      {{0.0, -3030.0}, kNone, 0},    // pixel 603
      {{NAN, 0.0}, kNone, 0},       {{0.0, INFINITY}, kNone, 0},
  };
  for (const auto& [point, left, top] : markers) {
    const std::optional<MarkerBox> box = markerBoxOf(point, scale);
    EXPECT_EQ(box ? std::pair(box->left, box->top) : std::pair(kNone, 0), std::pair(left, top))
        << point.x << ", " << point.y;
  }
  const std::tuple<geo::MapPoint, geo::MapPoint, PixelSegment> lines[] = {
      {{0.0, 0.0}, {1000.0, 1000.0}, {300, 300, 400, 200}},
      {{0.0, 0.0}, {12000.0, 0.0}, {300, 300, 607, 300}},
      {{-6000.0, 6000.0}, {0.0, 0.0}, {-8, -8, 300, 300}},
      {{-9000.0, 0.0}, {-8000.0, 5000.0}, {kNone}},
      {{0.0, 0.0}, {NAN, 0.0}, {kNone}},
  };
  for (const auto& [from, to, want] : lines) {
    const PixelSegment got = lineOf(from, to, scale).value_or(PixelSegment{kNone});
    EXPECT_EQ(std::tie(got.x1, got.y1, got.x2, got.y2),
              std::tie(want.x1, want.y1, want.x2, want.y2))
        << to.x << ", " << to.y;
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
