#include "shell/surface_widget.hpp"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "layout_rules.hpp"
#include "model/map_layers.hpp"
#include "mouse_buttons.hpp"
#include "raster/qt/picture_file.hpp"

namespace orbelle::shell {

SurfaceWidget::SurfaceWidget(const model::MapLayers& layers, QWidget* parent)
    : QFrame(parent), layers_(layers) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(kSurfaceBorderPixels);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect SurfaceWidget::imageRect() const {
  const QRect inner = contentsRect();
  return {inner.topLeft(), QSize(layers_.logicalWidth(), layers_.logicalHeight())};
}

void SurfaceWidget::addPainterAbove(std::function<void(QPainter&)> painter) {
  paintersAbove_.push_back(std::move(painter));
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect inner = contentsRect();
  // The part of the inner area the layers do not cover (while a resize is under way) is white.
  painter.fillRect(inner, Qt::white);
  // The layers are at device pixels: shown at their ratio, one layer pixel per screen pixel.
  QImage shown = raster::wrapSurface(layers_.shown());
  shown.setDevicePixelRatio(layers_.devicePixelRatio());
  painter.drawImage(inner.topLeft(), shown);
  for (const auto& above : paintersAbove_) above(painter);
  painter.end();
  QFrame::paintEvent(event);
}

bool SurfaceWidget::overImage(const QPoint& pos) const {
  return layers_.pictureVisible() && imageRect().contains(pos);
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (overImage(pos)) {
    if (onPointerMoved) {
      const QPoint offset = pos - imageRect().topLeft();
      onPointerMoved(offset.x(), offset.y());
    }
  } else if (onPointerLeft) {
    onPointerLeft();
  }
  QFrame::mouseMoveEvent(event);
}

void SurfaceWidget::leaveEvent(QEvent* event) {
  if (onPointerLeft) onPointerLeft();
  QFrame::leaveEvent(event);
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const int button = buttonCodeOf(event->button());
  if (button != 0 && overImage(pos) && onPressed) {
    const QPoint offset = pos - imageRect().topLeft();
    onPressed(button, offset.x(), offset.y());
  }
  QFrame::mousePressEvent(event);
}

}  // namespace orbelle::shell
