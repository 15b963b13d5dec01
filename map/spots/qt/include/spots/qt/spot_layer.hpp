#pragma once

// The spots over the map surface: the ring of spots, one spot marker and one spotter marker per
// slot as child widgets of the surface widget (above the picture, with hover texts, taking mouse
// presses), and the connecting lines, which the surface widget paints above its picture and
// beneath its children through paintLines(). The window creates one SpotLayer over its surface
// widget and forwards AddSpot, ClearSpots, DrawSpots and testspot to it.
//
// Everything runs on the GUI thread. AddSpot and ClearSpots ignore Drawing, so they also work
// while a drawing pass runs; DrawSpots does nothing while one runs. A marker press calls the
// host, which may let events run (AddSpot, ClearSpots) before it returns: the press sends the
// values of the spot that was pressed, read before the first call.

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "spots/marker_press.hpp"
#include "spots/qt/spot_window.hpp"
#include "spots/slot_layout.hpp"
#include "spots/spot_list.hpp"

class QPainter;

namespace orbelle::spots {

class SpotMarker;

class SpotLayer {
 public:
  // `window` and `surface` must outlive the layer's use; markers are children of `surface`.
  SpotLayer(SpotWindow& window, QWidget* surface);
  ~SpotLayer();
  SpotLayer(const SpotLayer&) = delete;
  SpotLayer& operator=(const SpotLayer&) = delete;

  // Stores the spot in slot NextSpot, sets its markers' hover texts and colours, places it when
  // ShowSpots holds (its spot marker shows; the spotter marker and the line by the show
  // options; all hidden otherwise) and advances NextSpot. The frequency is written with the
  // decimal separator of the default QLocale.
  void AddSpot(double LatDeg, double LonDeg, std::int32_t Color, double SpotFreq,
               const QString& Mode, const QString& SpotCall, const QString& SpotTime,
               const QString& SpotBy, const QString& SpotComment, const QString& SpotLoc,
               double SpotByLat, double SpotByLon, double SpotByColor, const QString& SpotByLoc,
               double SpotFreqTX);
  // A new empty table of MaxSpots slots (the window's setting, bounded to 1 .. 2000), NextSpot
  // 1, markers created up to MaxSpots and every marker and line hidden.
  void ClearSpots();
  // Places every filled slot for the current scale and show options; nothing while Drawing.
  void DrawSpots();
  // The two sample spots.
  void testspot();

  // Paints the visible connecting lines in the surface widget's coordinates, clipped to the map
  // image. The surface calls it after drawing its picture.
  void paintLines(QPainter& painter) const;

  // ---- state, for the window and for tests ----
  const SpotList& spots() const noexcept { return list_; }
  std::int16_t NextSpot() const noexcept { return list_.NextSpot(); }
  std::int16_t MaxSpots() const noexcept { return list_.MaxSpots(); }
  // Markers of slot i, 1 ≤ i ≤ the number of slots ever created; null otherwise.
  SpotMarker* lblSpots(int i) const;
  SpotMarker* lblSpotBys(int i) const;
  struct LineState {
    bool visible = false;
    PixelSegment segment;  // image pixels
  };
  // Connecting line of slot i (hidden for an index without one).
  LineState ConLine(int i) const;

 private:
  struct Elements {
    SpotMarker* spot = nullptr;
    SpotMarker* spotter = nullptr;
    LineState line;
  };

  void ensureElements(int count);
  void hideSlot(Elements& e);
  void placeSlotElements(int i, const std::optional<PixelScale>& scale, Visibility visible);
  void placeMarker(SpotMarker* marker, const std::optional<MarkerBox>& box, bool visible,
                   const QRect& image);
  // Sets a line's state; true when it changed (the surface then needs repainting).
  bool setLine(LineState& line, bool visible, const PixelSegment& segment);
  QRect imageRect(const std::optional<PixelScale>& scale) const;
  void pressMarker(int i, MarkerKind kind, int button);

  SpotWindow& window_;
  QPointer<QWidget> surface_;
  SpotList list_;
  std::vector<Elements> elements_;  // slot i at index i − 1
};

}  // namespace orbelle::spots
