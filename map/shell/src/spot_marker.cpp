#include "spot_marker.hpp"

#include <QMouseEvent>
#include <QPainter>

#include "mouse_buttons.hpp"
#include "spots/spot_constants.hpp"

namespace orbelle::shell {

SpotMarker::SpotMarker(QWidget* surface) : QWidget(surface) {
  resize(spots::kMarkerPixels, spots::kMarkerPixels);
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
  if (onPressed) onPressed(buttonCodeOf(event->button()));
}

}  // namespace orbelle::shell
