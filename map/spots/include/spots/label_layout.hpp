#pragma once

// Where the call-sign labels of the spot markers go, and which markers lie on top of one
// another. Boxes are in pixels of the map image (x right, y down), left/top inclusive, width
// and height in pixels.

#include <optional>
#include <vector>

namespace orbelle::spots {

struct PixelBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool intersects(const PixelBox& o) const noexcept {
    return left < o.left + o.width && o.left < left + width && top < o.top + o.height &&
           o.top < top + height;
  }
  bool inside(int imageWidth, int imageHeight) const noexcept {
    return left >= 0 && top >= 0 && left + width <= imageWidth && top + height <= imageHeight;
  }
};

// A label to place: beside `marker` (the marker's box), of the given size.
struct LabelRequest {
  PixelBox marker;
  int width = 0;
  int height = 0;
};

// Labels are kept this many pixels clear of their marker.
inline constexpr int kLabelGapPixels = 1;

// Places the labels in the order given (the first ones win): each takes the first of the places
// right of its marker, left of it, above it and below it that lies wholly on the image and
// overlaps no label placed before it and no marker in `markers`. A label with no such place is
// dropped (nothing), so that no two labels ever overlap.
std::vector<std::optional<PixelBox>> placeLabels(const std::vector<LabelRequest>& labels,
                                                 const std::vector<PixelBox>& markers,
                                                 int imageWidth, int imageHeight);

// For each box, the indices of the other boxes it overlaps, in index order: the markers a
// pointer over that one may mean.
std::vector<std::vector<int>> overlappingBoxes(const std::vector<PixelBox>& boxes);

}  // namespace orbelle::spots
