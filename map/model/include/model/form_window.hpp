#pragma once

// The map window's own members as the model and the bus reach them: visibility, position and
// size in twips (1/1440 inch), caption, the surface size it lays out, and its unload. The Qt
// window implements it; a model without a window (a test's) has none.

#include <QString>
#include <cstdint>

namespace orbelle::model {

class FormWindow {
 public:
  virtual ~FormWindow() = default;

  virtual QString caption() const = 0;
  virtual void setCaption(const QString& caption) = 0;
  virtual bool shown() const = 0;
  virtual void setShown(bool shown) = 0;
  virtual double leftTwips() const = 0;
  virtual double topTwips() const = 0;
  virtual double widthTwips() const = 0;
  virtual double heightTwips() const = 0;
  // A new width or height runs the window's resize rule, so its surface stays square.
  virtual void setLeftTwips(double left) = 0;
  virtual void setTopTwips(double top) = 0;
  virtual void setWidthTwips(double width) = 0;
  virtual void setHeightTwips(double height) = 0;

  // A surface of about Pixels pixels square, and the window around it; refused while Drawing.
  virtual void SetPixelSize(std::int16_t Pixels) = 0;
  // Outer width (= height) of the square surface in pixels, border included.
  virtual double surfaceOuterWidthPixels() const = 0;
};

}  // namespace orbelle::model
