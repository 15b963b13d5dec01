#include "antenna_line.hpp"

#include <QPainter>

#include "model/map_model.hpp"
#include "plane/map_drawing.hpp"
#include "spots/slot_layout.hpp"

namespace orbelle::shell {
namespace {

// An orange line on a dark band, pixels wide: it reads on land, water, ice and night.
const QColor kLineColor(255, 140, 0);
const QColor kBandColor(32, 32, 32);
constexpr int kLineWidth = 2;
constexpr int kBandWidth = 4;

}  // namespace

void paintAntennaLine(QPainter& painter, const model::MapModel& model, const QPoint& imageOrigin) {
  const std::optional<geo::MapPoint> end = geo::headingLineEnd(model.state().AntennaHeading);
  const std::optional<spots::PixelScale> scale = model.markerScale();
  if (!end || !scale) return;
  const std::optional<spots::PixelSegment> segment = spots::lineOf({0.0, 0.0}, *end, *scale);
  if (!segment) return;
  const QPointF origin(imageOrigin);
  const QLineF line(origin + QPointF(segment->x1, segment->y1),
                    origin + QPointF(segment->x2, segment->y2));
  painter.save();
  painter.setClipRect(QRect(imageOrigin, QSize(scale->width, scale->height)));
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (const auto& [width, colour] : {std::pair{kBandWidth, kBandColor},
                                      std::pair{kLineWidth, kLineColor}}) {
    QPen pen(colour);
    pen.setWidth(width);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(line);
  }
  painter.restore();
}

}  // namespace orbelle::shell
