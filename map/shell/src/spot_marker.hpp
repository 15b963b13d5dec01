#pragma once

// A spot or spotter marker: a 7 × 7 square in the host's colour inside a 1-pixel outline of
// black or white, whichever contrasts more with that colour, so that it reads on land, water
// and ice alike; with a hover text; it reports mouse presses (and keeps them from reaching the
// map beneath).

#include <QColor>
#include <QWidget>
#include <functional>

namespace orbelle::shell {

class SpotMarker final : public QWidget {
 public:
  explicit SpotMarker(QWidget* surface);

  void setColor(const QColor& color);
  QColor color() const { return color_; }

  // Called with the button code (1 left, 2 right, 4 middle; 0 for any other button).
  std::function<void(int button)> onPressed;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QColor color_;
};

}  // namespace orbelle::shell
