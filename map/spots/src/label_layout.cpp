#include "spots/label_layout.hpp"

#include <algorithm>

namespace orbelle::spots {

std::vector<std::optional<PixelBox>> placeLabels(const std::vector<LabelRequest>& labels,
                                                 const std::vector<PixelBox>& markers,
                                                 int imageWidth, int imageHeight) {
  std::vector<std::optional<PixelBox>> placed(labels.size());
  std::vector<PixelBox> taken;
  taken.reserve(labels.size());
  const auto clear = [&](const PixelBox& box) {
    if (!box.inside(imageWidth, imageHeight)) return false;
    for (const PixelBox& t : taken) {
      if (box.intersects(t)) return false;
    }
    for (const PixelBox& m : markers) {
      if (box.intersects(m)) return false;
    }
    return true;
  };
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const LabelRequest& r = labels[i];
    const PixelBox& m = r.marker;
    const int middleTop = m.top + (m.height - r.height) / 2;
    const int centreLeft = m.left + (m.width - r.width) / 2;
    const PixelBox candidates[] = {
        {m.left + m.width + kLabelGapPixels, middleTop, r.width, r.height},
        {m.left - kLabelGapPixels - r.width, middleTop, r.width, r.height},
        {centreLeft, m.top - kLabelGapPixels - r.height, r.width, r.height},
        {centreLeft, m.top + m.height + kLabelGapPixels, r.width, r.height},
    };
    for (const PixelBox& c : candidates) {
      if (!clear(c)) continue;
      placed[i] = c;
      taken.push_back(c);
      break;
    }
  }
  return placed;
}

std::vector<std::vector<int>> overlappingBoxes(const std::vector<PixelBox>& boxes) {
  std::vector<std::vector<int>> out(boxes.size());
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      if (!boxes[i].intersects(boxes[j])) continue;
      out[i].push_back(static_cast<int>(j));
      out[j].push_back(static_cast<int>(i));
    }
  }
  for (auto& list : out) std::sort(list.begin(), list.end());
  return out;
}

}  // namespace orbelle::spots
