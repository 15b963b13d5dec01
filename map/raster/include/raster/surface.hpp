#pragma once

// A drawing surface over a plain buffer of 32-bit pixels (see color.hpp for the layout), with the
// drawing model of the map: user coordinates, a current point, a pen (colour, width) and a
// drawing mode, lines, dots, circles and arcs, pixel reads and whole-surface clears. Flood fill
// lives in fill.hpp. No Qt; the picture-file adapter is in picture_file.hpp.
//
// Coordinates. User coordinates are set as left, top, width, height (like a window's scale):
// pixel-x = (x − left) / (width / pixelWidth), pixel-y = (y − top) / (height / pixelHeight). A
// negative height makes y grow upwards. Pixel n has its centre at pixel coordinate n; a point
// is drawn on the pixel its coordinates round to (nearest, ties to even). The initial scale is
// the pixel scale (left 0, top 0, width and height the pixel size).
//
// Drawing. Every primitive writes each of its pixels exactly once through one per-pixel
// operation: Copy sets the pen colour, Xor replaces the pixel by pixel XOR pen colour. Drawing
// the same primitive twice in Xor mode therefore restores the surface. Pixels outside the surface
// are cut off; coordinates may lie arbitrarily far outside (they are clipped, never wrap).
// Primitives whose coordinates are not finite draw nothing.
//
// Pen width w (pixels, at least 1): 1 gives 8-connected one-pixel lines (both end pixels drawn)
// and one-pixel dots; w > 1 gives the pixels whose centres lie within w/2 of the line segment
// (round ends) or of the dot's centre. For even w the shape is shifted by half a pixel up and to
// the left so it covers exactly w pixels across (a dot of width 2 is 2 × 2 pixels).
//
// A Surface is a value (copyable, movable). It is not safe to use one Surface from two threads
// at once; distinct surfaces are independent.

#include <cstdint>
#include <optional>
#include <vector>

#include "raster/color.hpp"

namespace orbelle::raster {

// A whole pixel as the surface draws a point: nearest, ties to even, of its continuous pixel
// coordinates clamped to ±2^28. Not finite: the point draws nothing.
struct WholePixel {
  std::int64_t x = 0, y = 0;
  bool finite = false;
  friend bool operator==(const WholePixel&, const WholePixel&) = default;
};

// A copy of a surface's user coordinates: converts positions to whole pixels exactly as the
// surface does, on any thread, while the surface draws.
class PixelMapping {
 public:
  PixelMapping(double left, double top, double unitWidth, double unitHeight) noexcept
      : left_(left), top_(top), unitWidth_(unitWidth), unitHeight_(unitHeight) {}
  WholePixel of(double x, double y) const noexcept;
  friend bool operator==(const PixelMapping&, const PixelMapping&) = default;

 private:
  double left_, top_, unitWidth_, unitHeight_;
};

enum class DrawMode {
  Copy,  // pixel = pen colour
  Xor,   // pixel = pixel XOR pen colour
};

class Surface {
 public:
  // Largest width or height in pixels (the map keeps pixel sizes in 16-bit fields).
  static constexpr int kMaxSide = 32767;

  // A width × height surface cleared to background. Throws std::invalid_argument unless both
  // sides are in 1 .. kMaxSide.
  Surface(int width, int height, Rgb background = kWhite);

  int width() const noexcept { return width_; }
  int height() const noexcept { return height_; }

  // The pixel rows, top row first, width() pixels each with no padding (stride == width()).
  // The pointer stays valid until resize() or assignment.
  Pixel* pixels() noexcept { return pixels_.data(); }
  const Pixel* pixels() const noexcept { return pixels_.data(); }
  int stride() const noexcept { return width_; }

  // New size, every pixel background, pixel scale, current point (0, 0). Pen and mode stay.
  // Throws std::invalid_argument like the constructor.
  void resize(int width, int height, Rgb background = kWhite);

  // ---- user coordinates ----

  // Throws std::invalid_argument when width or height is 0 or any value is not finite.
  void setScale(double left, double top, double width, double height);
  // Left 0, top 0, width and height in pixels: user units are pixels, y down.
  void setPixelScale() noexcept;

  double scaleLeft() const noexcept { return left_; }
  double scaleTop() const noexcept { return top_; }
  double scaleWidth() const noexcept { return scaleWidth_; }
  double scaleHeight() const noexcept { return scaleHeight_; }

  // User units covered by one pixel horizontally (scaleWidth / width, negative for a mirrored
  // scale) and vertically (scaleHeight / height, negative when y grows upwards).
  double unitWidth() const noexcept { return unitWidth_; }
  double unitHeight() const noexcept { return unitHeight_; }

  PixelMapping pixelMapping() const noexcept { return {left_, top_, unitWidth_, unitHeight_}; }
  // Continuous pixel coordinates of a user position (not rounded).
  double toPixelX(double x) const noexcept { return (x - left_) / unitWidth_; }
  double toPixelY(double y) const noexcept { return (y - top_) / unitHeight_; }

  // ---- pen and mode ----

  void setColor(Rgb color) noexcept { color_ = color & 0xffffffu; }
  Rgb color() const noexcept { return color_; }
  // Widths below 1 are taken as 1.
  void setPenWidth(int width) noexcept { penWidth_ = width < 1 ? 1 : width; }
  int penWidth() const noexcept { return penWidth_; }
  void setMode(DrawMode mode) noexcept { mode_ = mode; }
  DrawMode mode() const noexcept { return mode_; }

  // ---- current point (user units) ----

  double currentX() const noexcept { return currentX_; }
  double currentY() const noexcept { return currentY_; }
  void moveTo(double x, double y) noexcept;
  // The whole pixel the current point is drawn on (pixelMapping().of(currentX(), currentY())).
  WholePixel currentPixel() const noexcept;

  // ---- drawing in user units, with the pen width and mode ----

  // Line from the current point to (x, y) in the pen colour; (x, y) becomes the current point.
  void lineTo(double x, double y);
  // The same with to = pixelMapping().of(x, y), converted ahead of time.
  void lineTo(double x, double y, WholePixel to);
  // Line from (x1, y1) to (x2, y2) in the pen colour or the given colour (the pen colour is not
  // changed); (x2, y2) becomes the current point. A line and its reverse cover the same pixels.
  void line(double x1, double y1, double x2, double y2);
  void line(double x1, double y1, double x2, double y2, Rgb color);
  // Dot of the pen width's diameter centred on (x, y), in the pen colour or the given colour;
  // (x, y) becomes the current point.
  void dot(double x, double y);
  void dot(double x, double y, Rgb color);
  // Circle around (cx, cy); the radius is in horizontal user units (its pixel length is
  // |radius / unitWidth()|, used on both axes). The stroke covers the pixels whose centres lie
  // at a distance in (r − w/2, r + w/2] from the centre (in pixels), so it is a closed barrier that
  // no 4-connected fill crosses. (cx, cy) becomes the current point.
  void circle(double cx, double cy, double radius);
  // Arc of that circle from angle start to angle end (radians, counter-clockwise as seen on the
  // screen from the direction of growing pixel-x; an end below the start wraps through 0), drawn
  // with round ends: the pixels whose centres lie within w/2 of the arc. An arc spanning 2π or
  // more is the full circle above. (cx, cy) becomes the current point.
  void arc(double cx, double cy, double radius, double start, double end);

  // ---- pixels ----

  // Colour of pixel (px, py); nothing outside the surface.
  std::optional<Rgb> pixel(int px, int py) const noexcept;
  // Colour of the pixel a user position rounds to; nothing outside the surface.
  std::optional<Rgb> point(double x, double y) const noexcept;
  // Writes one pixel (or the row run x0 .. x1 inclusive) through the current mode; the parts
  // outside the surface are ignored.
  void plotPixel(int px, int py, Rgb color) noexcept;
  void plotSpan(int py, int x0, int x1, Rgb color) noexcept;

  // Every pixel becomes color (whatever the mode); the current point goes to (0, 0).
  void clear(Rgb color) noexcept;

 private:
  void strokeSegment(double px1, double py1, double px2, double py2, Pixel value);
  void strokeWhole(WholePixel from, WholePixel to, Pixel value);
  void thinLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, Pixel value);
  void capsule(double ax, double ay, double bx, double by, double radius, Pixel value);
  void ring(double cx, double cy, double radius, Pixel value);
  void arcStroke(double cx, double cy, double radius, double start, double end, Pixel value);
  void plotSpanValue(int py, double x0, double x1, Pixel value) noexcept;
  Pixel penValue(Rgb color) const noexcept {
    return mode_ == DrawMode::Xor ? toXorMask(color) : toPixel(color);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
  double left_ = 0.0;
  double top_ = 0.0;
  double scaleWidth_ = 1.0;
  double scaleHeight_ = 1.0;
  double unitWidth_ = 1.0;   // scaleWidth_ / width_
  double unitHeight_ = 1.0;  // scaleHeight_ / height_
  double currentX_ = 0.0;
  double currentY_ = 0.0;
  // The whole pixel of the current point when a line ended there (a polyline's next line
  // starts from it); cleared by anything else that moves the point or changes the scale.
  WholePixel currentPixel_;
  bool currentPixelKnown_ = false;
  Rgb color_ = kBlack;
  int penWidth_ = 1;
  DrawMode mode_ = DrawMode::Copy;
};

}  // namespace orbelle::raster
