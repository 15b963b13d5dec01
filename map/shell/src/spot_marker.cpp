#include "spot_marker.hpp"

#include <QMouseEvent>
#include <QPainter>

#include "mouse_buttons.hpp"
#include "raster/color.hpp"
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
  const raster::Rgb outline =
      raster::contrastingOutline(raster::rgb(color_.red(), color_.green(), color_.blue()));
  painter.fillRect(rect(), QColor(raster::redOf(outline), raster::greenOf(outline),
                                  raster::blueOf(outline)));
  painter.fillRect(rect().adjusted(1, 1, -1, -1), color_);
}

void SpotMarker::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (onPressed) onPressed(buttonCodeOf(event->button()));
}

}  // namespace orbelle::shell
