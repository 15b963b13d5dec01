#pragma once

// The spot markers over the map surface, a view of the model's spot ring: one spot marker and
// one spotter marker per slot as child widgets of the surface (above the picture, with hover
// texts, taking mouse presses), the spot's call as a label beside its marker ("Show calls";
// labels never overlap each other or a marker: one that finds no free place is left out), and
// the connecting lines, which the surface paints above its picture and beneath its children
// through paintLines(). A marker that lies over others has the hover texts of all of them, so
// every spot of a cluster can be read. The layer follows the model's signals (a spot added, the
// spots cleared, the spots placed again) and hands marker presses to it.

#include <QPointer>
#include <QRect>
#include <cstdint>
#include <optional>
#include <vector>

#include "spots/marker_press.hpp"
#include "spots/slot_layout.hpp"

class QLabel;
class QPainter;

namespace orbelle::model {
class MapModel;
}

namespace orbelle::shell {

class SpotMarker;
class SurfaceWidget;

class SpotLayer {
 public:
  // `model` and `surface` must outlive the layer's use; markers are children of `surface`.
  SpotLayer(model::MapModel& model, SurfaceWidget* surface);
  ~SpotLayer();
  SpotLayer(const SpotLayer&) = delete;
  SpotLayer& operator=(const SpotLayer&) = delete;

  // Paints the visible connecting lines in the surface widget's coordinates, clipped to the map
  // image. The surface calls it after drawing its picture.
  void paintLines(QPainter& painter) const;

  // Markers of slot i, 1 ≤ i ≤ the number of slots ever created; null otherwise.
  SpotMarker* lblSpots(int i) const;
  SpotMarker* lblSpotBys(int i) const;
  // The call label of slot i (null as above).
  QLabel* callLabel(int i) const;

 private:
  // A connecting line between a spot and its spotter.
  struct LineState {
    bool visible = false;
    spots::PixelSegment segment;  // image pixels
  };
  struct Elements {
    SpotMarker* spot = nullptr;
    SpotMarker* spotter = nullptr;
    QLabel* label = nullptr;
    LineState line;
  };

  void spotAdded(int i);
  void spotsCleared();
  void spotsPlaced();
  void ensureElements(int count);
  void hideSlot(Elements& e);
  void placeSlotElements(int i, const std::optional<spots::PixelScale>& scale,
                         spots::Visibility visible);
  void placeMarker(SpotMarker* marker, const std::optional<spots::MarkerBox>& box, bool visible,
                   const QRect& image);
  // Sets a line's state; true when it changed (the surface then needs repainting).
  bool setLine(LineState& line, bool visible, const spots::PixelSegment& segment);
  QRect imageRect(const std::optional<spots::PixelScale>& scale) const;
  // The call labels and the hover texts of overlapping markers, after markers have moved.
  void arrangeLabelsAndTips();

  model::MapModel& model_;
  QPointer<SurfaceWidget> surface_;
  std::vector<Elements> elements_;  // slot i at index i − 1
};

}  // namespace orbelle::shell
