#pragma once

// Picture1: the square map surface with a sunken border. It shows the map layers' shown pixels
// as they are (no copy), reports pointer movements and presses over the map image Image1 in
// pixels from the image's top-left corner, and lets other parts paint above the picture (the
// spots' connecting lines) before its child widgets (the spot markers) are drawn.

#include <QFrame>
#include <functional>
#include <vector>

class QPainter;

namespace orbelle::model {
class MapLayers;
}

namespace orbelle::shell {

class SurfaceWidget : public QFrame {
 public:
  SurfaceWidget(const model::MapLayers& layers, QWidget* parent);

  // The map image's rectangle in widget coordinates (inside the border).
  QRect imageRect() const;

  // Pointer moved over the map image: pixel offsets from its top-left corner.
  std::function<void(int px, int py)> onPointerMoved;
  // The pointer left the map image (or the surface).
  std::function<void()> onPointerLeft;
  // Mouse button pressed on the map image: button code (1 left, 2 right, 4 middle) and offsets.
  std::function<void(int button, int px, int py)> onPressed;

  // Painters run after the picture, in the order added; they paint in widget coordinates.
  void addPainterAbove(std::function<void(QPainter&)> painter);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  bool overImage(const QPoint& pos) const;

  const model::MapLayers& layers_;
  std::vector<std::function<void(QPainter&)>> paintersAbove_;
};

}  // namespace orbelle::shell
