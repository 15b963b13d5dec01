#pragma once

// Where the elements of one slot go on the map image and which of them show. Positions are in
// pixels of the map image (x right, y down, pixel n centred on coordinate n), computed from the
// stored map positions (miles) and the surface's scale of the last SetMapScale.

#include <optional>

#include "geometry/projection.hpp"
#include "raster/surface.hpp"
#include "spots/spot_row.hpp"

namespace orbelle::spots {

// The image's user scale as SetMapScale leaves it: pixel-x = (x − left) / unitWidth,
// pixel-y = (y − top) / unitHeight (unitHeight is negative: y grows upwards).
struct PixelScale {
  double left = 0.0;
  double top = 0.0;
  double unitWidth = 1.0;
  double unitHeight = 1.0;
  int width = 0;  // image size in pixels
  int height = 0;
};

// The user scale a surface is in (after SetMapScale, the map's).
PixelScale scaleOf(const raster::Surface& surface);

struct ShowOptions {
  bool ShowSpots = false;
  bool ShowSpotBy = false;
  bool ShowConnectingLines = false;
};

struct Visibility {
  bool spot = false;
  bool spotter = false;
  bool line = false;
};

// The redraw's rule: spot marker = ShowSpots; spotter marker = spotter known and ShowSpotBy;
// line = spotter known and ShowConnectingLines.
Visibility visibilityForDrawSpots(const ShowOptions& show, bool spotterKnown) noexcept;
// AddSpot places a slot only while ShowSpots holds, and then always shows its spot marker; the
// spotter marker and the line follow the redraw's rule.
Visibility visibilityForAddSpot(const ShowOptions& show, bool spotterKnown) noexcept;

// The top-left pixel of a 7 × 7 marker whose centre pixel is the one the point rounds to.
struct MarkerBox {
  int left = 0;
  int top = 0;
};

// A connecting line in image pixels, clipped to a band around the image so that its ends stay
// within a few pixels of the image whatever the map positions.
struct PixelSegment {
  double x1 = 0.0;
  double y1 = 0.0;
  double x2 = 0.0;
  double y2 = 0.0;
};

struct SlotPlacement {
  // Nothing for a position that cannot be placed (not finite) or lies wholly off the image.
  std::optional<MarkerBox> spotMarker;
  std::optional<MarkerBox> spotterMarker;
  std::optional<PixelSegment> line;
  // The visibility rule's answer; an element shows when this is true and it has a placement.
  Visibility visible;
};

// The marker for a map point, when the point is finite and the marker overlaps the image.
std::optional<MarkerBox> markerBoxOf(geo::MapPoint point, const PixelScale& scale);

// The line between the two marker centres (the pixels the points round to), clipped; nothing
// when a point is not finite or the line misses the image.
std::optional<PixelSegment> lineOf(geo::MapPoint from, geo::MapPoint to, const PixelScale& scale);

// Places slot `row` for `visible`. Elements that are not visible get no placement computed.
SlotPlacement placeSlot(const SpotRow& row, const PixelScale& scale, Visibility visible);

}  // namespace orbelle::spots
