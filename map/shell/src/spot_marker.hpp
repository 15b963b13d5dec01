#pragma once

// A spot or spotter marker: a filled 7 × 7 square without border or text, with a hover text,
// that reports mouse presses (and keeps them from reaching the map beneath).

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
