#include "spot_layer.hpp"

#include <QLabel>
#include <QPainter>
#include <algorithm>

#include "model/map_model.hpp"
#include "shell/surface_widget.hpp"
#include "spot_marker.hpp"
#include "spots/label_layout.hpp"
#include "spots/spot_constants.hpp"

namespace orbelle::shell {
namespace {

QColor qColorOf(raster::Rgb rgb) {
  return QColor(raster::redOf(rgb), raster::greenOf(rgb), raster::blueOf(rgb));
}

// Call labels: dark text on a light, slightly see-through ground, a point smaller than the
// window's text.
constexpr const char* kCallLabelStyle =
    "QLabel { color: black; background: rgba(255, 255, 255, 200); padding: 0px 1px; }";
constexpr double kCallLabelPointsSmaller = 1.5;

spots::ShowOptions showOptionsOf(const model::MapState& state) {
  return {state.ShowSpots, state.ShowSpotBy, state.ShowConnectingLines};
}

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

SpotLayer::SpotLayer(model::MapModel& model, SurfaceWidget* surface)
    : model_(model), surface_(surface) {
  QObject::connect(&model_, &model::MapModel::spotAdded, surface, [this](int i) { spotAdded(i); });
  QObject::connect(&model_, &model::MapModel::spotsCleared, surface, [this] { spotsCleared(); });
  QObject::connect(&model_, &model::MapModel::spotsPlaced, surface, [this] { spotsPlaced(); });
  ensureElements(model_.spots().MaxSpots());
}

SpotLayer::~SpotLayer() {
  if (!surface_) return;  // the markers went with the surface
  for (Elements& e : elements_) {
    delete e.spot;
    delete e.spotter;
    delete e.label;
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

QLabel* SpotLayer::callLabel(int i) const {
  if (i < 1 || i > static_cast<int>(elements_.size())) return nullptr;
  return elements_[static_cast<std::size_t>(i - 1)].label;
}

void SpotLayer::ensureElements(int count) {
  if (!surface_) return;
  elements_.reserve(static_cast<std::size_t>(count));
  while (static_cast<int>(elements_.size()) < count) {
    const int slot = static_cast<int>(elements_.size()) + 1;
    Elements e;
    // New elements start as copies of the templates: hidden, in the template colours.
    e.spot = new SpotMarker(surface_);
    e.spot->setColor(qColorOf(spots::kSpotTemplateColor));
    e.spot->onPressed = [this, slot](int button) {
      model_.pressMarker(slot, spots::MarkerKind::Spot, button);
    };
    e.spotter = new SpotMarker(surface_);
    e.spotter->setColor(qColorOf(spots::kSpotterTemplateColor));
    e.spotter->onPressed = [this, slot](int button) {
      model_.pressMarker(slot, spots::MarkerKind::Spotter, button);
    };
    e.label = new QLabel(surface_);
    e.label->setStyleSheet(QString::fromLatin1(kCallLabelStyle));
    QFont small = e.label->font();
    if (small.pointSizeF() > 0) {
      small.setPointSizeF(std::max(6.0, small.pointSizeF() - kCallLabelPointsSmaller));
    }
    e.label->setFont(small);
    // Presses go through to the map beneath, as on any other part of the map.
    e.label->setAttribute(Qt::WA_TransparentForMouseEvents);
    e.label->hide();
    elements_.push_back(e);
  }
}

void SpotLayer::hideSlot(Elements& e) {
  e.spot->hide();
  e.spotter->hide();
  e.label->hide();
  if (setLine(e.line, false, e.line.segment)) surface_->update();
}

void SpotLayer::spotsCleared() {
  ensureElements(model_.spots().MaxSpots());
  if (!surface_) return;
  // Elements beyond a smaller MaxSpots are hidden as well: they belong to no slot any more.
  const UpdatesHeld held(surface_);
  for (Elements& e : elements_) hideSlot(e);
  arrangeLabelsAndTips();
}

void SpotLayer::spotAdded(int i) {
  ensureElements(model_.spots().MaxSpots());
  if (!surface_) return;
  const spots::SlotMarkers& markers = model_.spots().slot(i).markers;
  Elements& e = elements_[static_cast<std::size_t>(i - 1)];
  e.spot->setToolTip(QString::fromStdString(markers.spotText));
  e.spot->setColor(qColorOf(markers.spotColor));
  e.spotter->setColor(qColorOf(markers.spotterColor));
  e.spotter->setToolTip(QString::fromStdString(markers.spotterText));

  const spots::ShowOptions show = showOptionsOf(model_.state());
  if (show.ShowSpots) {
    placeSlotElements(i, model_.markerScale(),
                      visibilityForAddSpot(show, spotterKnown(model_.spots().row(i))));
  } else {
    // The slot may have shown an older spot: its elements must not carry the new texts there.
    hideSlot(e);
  }
  e.label->setText(QString::fromStdString(model_.spots().slot(i).markers.call));
  arrangeLabelsAndTips();
}

void SpotLayer::spotsPlaced() {
  if (!surface_) return;
  const std::optional<spots::PixelScale> scale = model_.markerScale();
  const spots::ShowOptions show = showOptionsOf(model_.state());
  const spots::SpotList& list = model_.spots();
  const UpdatesHeld held(surface_);
  for (int i = 1; i <= list.MaxSpots(); ++i) {
    if (!list.slot(i).filled) continue;
    placeSlotElements(i, scale, visibilityForDrawSpots(show, spotterKnown(list.row(i))));
  }
  arrangeLabelsAndTips();
}

void SpotLayer::arrangeLabelsAndTips() {
  if (!surface_) return;
  const spots::SpotList& list = model_.spots();
  const int slotCount = std::min(static_cast<int>(elements_.size()), static_cast<int>(list.MaxSpots()));
  const QPoint origin = surface_->imageRect().topLeft();

  // The markers on the map, in image pixels.
  struct Shown {
    SpotMarker* marker;
    int slot;
    bool spotter;
  };
  std::vector<Shown> shown;
  std::vector<spots::PixelBox> boxes;
  std::vector<int> spotMarkerOf(static_cast<std::size_t>(slotCount) + 1, -1);  // index in shown
  for (int i = 1; i <= slotCount; ++i) {
    const Elements& e = elements_[static_cast<std::size_t>(i - 1)];
    for (const bool spotter : {false, true}) {
      SpotMarker* marker = spotter ? e.spotter : e.spot;
      if (!list.slot(i).filled || !marker->isVisibleTo(surface_)) continue;
      const QPoint at = marker->pos() - origin;
      if (!spotter) spotMarkerOf[static_cast<std::size_t>(i)] = static_cast<int>(shown.size());
      boxes.push_back({at.x(), at.y(), spots::kMarkerPixels, spots::kMarkerPixels});
      shown.push_back({marker, i, spotter});
    }
  }

  // Hover texts: a marker's own, then those of every marker under the same pixels.
  const auto textOf = [&](const Shown& s) {
    const spots::SlotMarkers& m = list.slot(s.slot).markers;
    return QString::fromStdString(s.spotter ? m.spotterText : m.spotText);
  };
  const std::vector<std::vector<int>> overlaps = spots::overlappingBoxes(boxes);
  for (std::size_t k = 0; k < shown.size(); ++k) {
    QString tip = textOf(shown[k]);
    for (const int j : overlaps[k]) tip += QLatin1Char('\n') + textOf(shown[static_cast<std::size_t>(j)]);
    if (shown[k].marker->toolTip() != tip) shown[k].marker->setToolTip(tip);
  }

  // Labels of the spot markers, the newest spot first: it wins a contested place.
  const std::optional<spots::PixelScale> scale = model_.markerScale();
  std::vector<spots::LabelRequest> requests;
  std::vector<int> labelSlots;
  if (scale && model_.state().ShowCalls && slotCount > 0) {
    const int newest = list.NextSpot() > 1 ? list.NextSpot() - 1 : slotCount;
    for (int n = 0; n < slotCount; ++n) {
      const int i = ((newest - 1 - n) % slotCount + slotCount) % slotCount + 1;
      const int k = spotMarkerOf[static_cast<std::size_t>(i)];
      QLabel* label = elements_[static_cast<std::size_t>(i - 1)].label;
      if (k < 0 || label->text().isEmpty()) continue;
      const QSize size = label->sizeHint();
      requests.push_back({boxes[static_cast<std::size_t>(k)], size.width(), size.height()});
      labelSlots.push_back(i);
    }
  }
  std::vector<char> labelled(elements_.size(), 0);
  if (scale) {
    const std::vector<std::optional<spots::PixelBox>> places =
        spots::placeLabels(requests, boxes, scale->width, scale->height);
    for (std::size_t k = 0; k < places.size(); ++k) {
      if (!places[k]) continue;
      const std::size_t index = static_cast<std::size_t>(labelSlots[k] - 1);
      QLabel* label = elements_[index].label;
      const spots::PixelBox& b = *places[k];
      label->setGeometry(origin.x() + b.left, origin.y() + b.top, b.width, b.height);
      label->show();
      labelled[index] = 1;
    }
  }
  for (std::size_t index = 0; index < elements_.size(); ++index) {
    if (!labelled[index]) elements_[index].label->hide();
  }
}

QRect SpotLayer::imageRect(const std::optional<spots::PixelScale>& scale) const {
  if (!scale || !surface_) return {};
  return {surface_->imageRect().topLeft(), QSize(scale->width, scale->height)};
}

void SpotLayer::placeSlotElements(int i, const std::optional<spots::PixelScale>& scale,
                                  spots::Visibility visible) {
  Elements& e = elements_[static_cast<std::size_t>(i - 1)];
  if (!scale) {
    // No scale yet: nothing can be placed; the first resize places the slot.
    hideSlot(e);
    return;
  }
  const spots::SlotPlacement p = placeSlot(model_.spots().row(i), *scale, visible);
  const QRect image = imageRect(scale);
  // The line first: a whole-surface repaint already pending makes the markers' moves cheap.
  const bool lineShown = p.visible.line && p.line.has_value();
  if (setLine(e.line, lineShown, p.line.value_or(e.line.segment))) surface_->update();
  placeMarker(e.spot, p.spotMarker, p.visible.spot, image);
  placeMarker(e.spotter, p.spotterMarker, p.visible.spotter, image);
}

void SpotLayer::placeMarker(SpotMarker* marker, const std::optional<spots::MarkerBox>& box,
                            bool visible, const QRect& image) {
  if (!visible || !box) {
    marker->hide();
    return;
  }
  const QRect at(image.topLeft() + QPoint(box->left, box->top),
                 QSize(spots::kMarkerPixels, spots::kMarkerPixels));
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

bool SpotLayer::setLine(LineState& line, bool visible, const spots::PixelSegment& segment) {
  const bool same = line.visible == visible &&
                    (!visible || (line.segment.x1 == segment.x1 && line.segment.y1 == segment.y1 &&
                                  line.segment.x2 == segment.x2 && line.segment.y2 == segment.y2));
  line.visible = visible;
  line.segment = segment;
  return !same;
}

void SpotLayer::paintLines(QPainter& painter) const {
  const std::optional<spots::PixelScale> scale = model_.markerScale();
  if (!scale || !surface_) return;
  painter.save();
  painter.setClipRect(imageRect(scale));
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen pen(qColorOf(spots::kConnectingLineColor));
  pen.setWidth(spots::kConnectingLinePixels);
  pen.setCapStyle(Qt::SquareCap);
  painter.setPen(pen);
  const QPointF origin = surface_->imageRect().topLeft();
  const auto slotCount = static_cast<std::size_t>(model_.spots().MaxSpots());
  for (std::size_t k = 0; k < elements_.size() && k < slotCount; ++k) {
    const LineState& line = elements_[k].line;
    if (!line.visible) continue;
    painter.drawLine(QLineF(origin + QPointF(line.segment.x1, line.segment.y1),
                            origin + QPointF(line.segment.x2, line.segment.y2)));
  }
  painter.restore();
}

}  // namespace orbelle::shell
