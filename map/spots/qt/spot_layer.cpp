#include "spots/qt/spot_layer.hpp"

#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <exception>

#include "spot_marker.hpp"
#include "spots/sample_spots.hpp"
#include "spots/spot_constants.hpp"

namespace orbelle::spots {
namespace {

QColor qColorOf(raster::Rgb rgb) {
  return QColor(raster::redOf(rgb), raster::greenOf(rgb), raster::blueOf(rgb));
}

std::string utf8(const QString& text) { return text.toStdString(); }

// Moving, showing and hiding many markers one by one makes the toolkit track every old and new
// rectangle; with the surface's updates held, it is repainted once afterwards instead. Updates
// that were already held (by the window while it loads, say) stay so.
class UpdatesHeld {
 public:
  explicit UpdatesHeld(QWidget* surface)
      : surface_(surface), held_(surface && surface->updatesEnabled()) {
    if (held_) surface_->setUpdatesEnabled(false);
  }
  ~UpdatesHeld() {
    if (held_) surface_->setUpdatesEnabled(true);  // repaints the whole surface
  }
  UpdatesHeld(const UpdatesHeld&) = delete;
  UpdatesHeld& operator=(const UpdatesHeld&) = delete;

 private:
  QWidget* surface_;
  bool held_;
};

}  // namespace

SpotLayer::SpotLayer(SpotWindow& window, QWidget* surface) : window_(window), surface_(surface) {}

SpotLayer::~SpotLayer() {
  if (!surface_) return;  // the markers went with the surface
  for (Elements& e : elements_) {
    delete e.spot;
    delete e.spotter;
  }
  surface_->update();
}

SpotMarker* SpotLayer::lblSpots(int i) const {
  if (i < 1 || i > static_cast<int>(elements_.size())) return nullptr;
  return elements_[static_cast<std::size_t>(i - 1)].spot;
}

SpotMarker* SpotLayer::lblSpotBys(int i) const {
  if (i < 1 || i > static_cast<int>(elements_.size())) return nullptr;
  return elements_[static_cast<std::size_t>(i - 1)].spotter;
}

SpotLayer::LineState SpotLayer::ConLine(int i) const {
  if (i < 1 || i > static_cast<int>(elements_.size())) return {};
  return elements_[static_cast<std::size_t>(i - 1)].line;
}

void SpotLayer::ensureElements(int count) {
  if (!surface_) return;
  elements_.reserve(static_cast<std::size_t>(count));
  while (static_cast<int>(elements_.size()) < count) {
    const int slot = static_cast<int>(elements_.size()) + 1;
    Elements e;
    // New elements start as copies of the templates: hidden, in the template colours.
    e.spot = new SpotMarker(surface_);
    e.spot->setColor(qColorOf(kSpotTemplateColor));
    e.spot->onPressed = [this, slot](int button) { pressMarker(slot, MarkerKind::Spot, button); };
    e.spotter = new SpotMarker(surface_);
    e.spotter->setColor(qColorOf(kSpotterTemplateColor));
    e.spotter->onPressed = [this, slot](int button) {
      pressMarker(slot, MarkerKind::Spotter, button);
    };
    elements_.push_back(e);
  }
}

void SpotLayer::hideSlot(Elements& e) {
  e.spot->hide();
  e.spotter->hide();
  if (setLine(e.line, false, e.line.segment)) surface_->update();
}

void SpotLayer::ClearSpots() {
  list_.ClearSpots(window_.MaxSpots());
  ensureElements(list_.MaxSpots());
  if (!surface_) return;
  // Elements beyond a smaller MaxSpots are hidden as well: they belong to no slot any more.
  const UpdatesHeld held(surface_);
  for (Elements& e : elements_) hideSlot(e);
}

void SpotLayer::AddSpot(double LatDeg, double LonDeg, std::int32_t Color, double SpotFreq,
                        const QString& Mode, const QString& SpotCall, const QString& SpotTime,
                        const QString& SpotBy, const QString& SpotComment, const QString& SpotLoc,
                        double SpotByLat, double SpotByLon, double SpotByColor,
                        const QString& SpotByLoc, double SpotFreqTX) {
  SpotArgs spot{LatDeg,         LonDeg,         Color,        SpotFreq,          utf8(Mode),
                utf8(SpotCall), utf8(SpotTime), utf8(SpotBy), utf8(SpotComment), utf8(SpotLoc),
                SpotByLat,      SpotByLon,      SpotByColor,  utf8(SpotByLoc),   SpotFreqTX};
  const geo::MapPlane& plane = window_.plane();
  const int i = list_.AddSpot(plane.LatHere, plane.LonHere, spot, utf8(QLocale().decimalPoint()),
                              window_.MaxSpots());
  ensureElements(list_.MaxSpots());
  if (!surface_) return;

  const SlotMarkers& markers = list_.slot(i).markers;
  Elements& e = elements_[static_cast<std::size_t>(i - 1)];
  e.spot->setToolTip(QString::fromStdString(markers.spotText));
  e.spot->setColor(qColorOf(markers.spotColor));
  e.spotter->setColor(qColorOf(markers.spotterColor));
  e.spotter->setToolTip(QString::fromStdString(markers.spotterText));

  const ShowOptions show = window_.showOptions();
  if (show.ShowSpots) {
    placeSlotElements(i, scaleOf(plane), visibilityForAddSpot(show, spotterKnown(list_.row(i))));
  } else {
    // The slot may have shown an older spot: its elements must not carry the new texts there.
    hideSlot(e);
  }
}

void SpotLayer::DrawSpots() {
  if (window_.Drawing() || !surface_) return;
  const std::optional<PixelScale> scale = scaleOf(window_.plane());
  const ShowOptions show = window_.showOptions();
  const UpdatesHeld held(surface_);
  for (int i = 1; i <= list_.MaxSpots(); ++i) {
    if (!list_.slot(i).filled) continue;
    placeSlotElements(i, scale, visibilityForDrawSpots(show, spotterKnown(list_.row(i))));
  }
}

void SpotLayer::testspot() {
  for (const SpotArgs& s : sampleSpots()) {
    AddSpot(s.LatDeg, s.LonDeg, s.Color, s.SpotFreq, QString::fromStdString(s.Mode),
            QString::fromStdString(s.SpotCall), QString::fromStdString(s.SpotTime),
            QString::fromStdString(s.SpotBy), QString::fromStdString(s.SpotComment),
            QString::fromStdString(s.SpotLoc), s.SpotByLat, s.SpotByLon, s.SpotByColor,
            QString::fromStdString(s.SpotByLoc), s.SpotFreqTX);
  }
}

QRect SpotLayer::imageRect(const std::optional<PixelScale>& scale) const {
  if (!scale) return {};
  return {window_.imageOrigin(), QSize(scale->width, scale->height)};
}

void SpotLayer::placeSlotElements(int i, const std::optional<PixelScale>& scale,
                                  Visibility visible) {
  Elements& e = elements_[static_cast<std::size_t>(i - 1)];
  if (!scale) {
    // No scale yet: nothing can be placed; the first resize places the slot.
    hideSlot(e);
    return;
  }
  const SlotPlacement p = placeSlot(list_.row(i), *scale, visible);
  const QRect image = imageRect(scale);
  // The line first: a whole-surface repaint already pending makes the markers' moves cheap.
  const bool lineShown = p.visible.line && p.line.has_value();
  if (setLine(e.line, lineShown, p.line.value_or(e.line.segment))) surface_->update();
  placeMarker(e.spot, p.spotMarker, p.visible.spot, image);
  placeMarker(e.spotter, p.spotterMarker, p.visible.spotter, image);
}

void SpotLayer::placeMarker(SpotMarker* marker, const std::optional<MarkerBox>& box, bool visible,
                            const QRect& image) {
  if (!visible || !box) {
    marker->hide();
    return;
  }
  const QRect at(image.topLeft() + QPoint(box->left, box->top),
                 QSize(kMarkerPixels, kMarkerPixels));
  if (marker->pos() != at.topLeft()) marker->move(at.topLeft());
  // A marker at the image's edge is cut off there, as the surface cuts off what it draws, and
  // does not cover the surface's border.
  const QRect inside = at.intersected(image);
  if (inside == at) {
    if (!marker->mask().isEmpty()) marker->clearMask();
  } else {
    marker->setMask(QRegion(inside.translated(-at.topLeft())));
  }
  marker->show();
}

bool SpotLayer::setLine(LineState& line, bool visible, const PixelSegment& segment) {
  const bool same = line.visible == visible &&
                    (!visible || (line.segment.x1 == segment.x1 && line.segment.y1 == segment.y1 &&
                                  line.segment.x2 == segment.x2 && line.segment.y2 == segment.y2));
  line.visible = visible;
  line.segment = segment;
  return !same;
}

void SpotLayer::paintLines(QPainter& painter) const {
  const std::optional<PixelScale> scale = scaleOf(window_.plane());
  if (!scale) return;
  painter.save();
  painter.setClipRect(imageRect(scale));
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen pen(qColorOf(kConnectingLineColor));
  pen.setWidth(kConnectingLinePixels);
  pen.setCapStyle(Qt::SquareCap);
  painter.setPen(pen);
  const QPointF origin = window_.imageOrigin();
  for (std::size_t k = 0; k < elements_.size() && k < static_cast<std::size_t>(list_.MaxSpots());
       ++k) {
    const LineState& line = elements_[k].line;
    if (!line.visible) continue;
    painter.drawLine(QLineF(origin + QPointF(line.segment.x1, line.segment.y1),
                            origin + QPointF(line.segment.x2, line.segment.y2)));
  }
  painter.restore();
}

void SpotLayer::pressMarker(int i, MarkerKind kind, int button) {
  if (i > list_.MaxSpots() || !list_.slot(i).filled) return;
  const geo::MapPlane& plane = window_.plane();
  const SpotRow& row = list_.row(i);
  const double heading = pressHeading(plane.LatHere, plane.LonHere, row, kind, button);
  // Read before the first call: the host may add or clear spots while it handles it.
  const RigRequest rig = rigRequestOf(row);
  QVariant SpotFreq(rig.SpotFreq);
  QVariant SpotFreqTX(rig.SpotFreqTX);
  QVariant Mode(QString::fromStdString(rig.Mode));
  try {
    if (!window_.orbellesetrotor(heading)) return;
    window_.orbellesetrig(SpotFreq, SpotFreqTX, Mode);
  } catch (const std::exception&) {
    // A failed host call ends the press; the map goes on working.
  }
}

}  // namespace orbelle::spots
