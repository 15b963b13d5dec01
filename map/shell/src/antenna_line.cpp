#include "antenna_line.hpp"

#include <QPainter>

#include "model/map_model.hpp"
#include "plane/map_drawing.hpp"

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
  const auto pixel = [&](geo::MapPoint p) {
    return QPointF(imageOrigin) +
           QPointF((p.x - scale->left) / scale->unitWidth, (p.y - scale->top) / scale->unitHeight);
  };
  const QLineF line(pixel({0.0, 0.0}), pixel(*end));
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
