#include "spot_marker.hpp"

#include <QMouseEvent>
#include <QPainter>

#include "spots/marker_press.hpp"
#include "spots/spot_constants.hpp"

namespace orbelle::spots {

SpotMarker::SpotMarker(QWidget* surface) : QWidget(surface) {
  resize(kMarkerPixels, kMarkerPixels);
  hide();
}

void SpotMarker::setColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  update();
}

void SpotMarker::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), color_);
}

void SpotMarker::mousePressEvent(QMouseEvent* event) {
  event->accept();
  int button = 0;
  switch (event->button()) {
    case Qt::LeftButton:
      button = kLeftButton;
      break;
    case Qt::RightButton:
      button = kRightButton;
      break;
    case Qt::MiddleButton:
      button = kMiddleButton;
      break;
    default:
      break;
  }
  if (onPressed) onPressed(button);
}

}  // namespace orbelle::spots
