#include "raster/surface.hpp"

#include <cmath>
#include <stdexcept>
#include <string>

#include "device.hpp"

namespace orbelle::raster {

namespace {

void checkSize(int width, int height) {
  if (width < 1 || height < 1 || width > Surface::kMaxSide || height > Surface::kMaxSide) {
    throw std::invalid_argument("surface size " + std::to_string(width) + " x " +
                                std::to_string(height) + " is outside 1 .. " +
                                std::to_string(Surface::kMaxSide));
  }
}

}  // namespace

Surface::Surface(int width, int height, Rgb background) { resize(width, height, background); }

void Surface::resize(int width, int height, Rgb background) {
  checkSize(width, height);
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                 toPixel(background));
  setPixelScale();
  moveTo(0.0, 0.0);
}

void Surface::setScale(double left, double top, double width, double height) {
  if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(width) ||
      !std::isfinite(height) || width == 0.0 || height == 0.0) {
    throw std::invalid_argument("surface scale needs finite values and a nonzero width and height");
  }
  left_ = left;
  top_ = top;
  scaleWidth_ = width;
  scaleHeight_ = height;
  unitWidth_ = scaleWidth_ / width_;
  unitHeight_ = scaleHeight_ / height_;
  currentPixelKnown_ = false;
}

void Surface::setPixelScale() noexcept {
  left_ = 0.0;
  top_ = 0.0;
  scaleWidth_ = width_;
  scaleHeight_ = height_;
  unitWidth_ = 1.0;
  unitHeight_ = 1.0;
  currentPixelKnown_ = false;
}

void Surface::moveTo(double x, double y) noexcept {
  currentX_ = x;
  currentY_ = y;
  currentPixelKnown_ = false;
}

std::optional<Rgb> Surface::pixel(int px, int py) const noexcept {
  if (px < 0 || py < 0 || px >= width_ || py >= height_) return std::nullopt;
  return fromPixel(pixels_[static_cast<std::size_t>(py) * width_ + px]);
}

std::optional<Rgb> Surface::point(double x, double y) const noexcept {
  const double px = toPixelX(x), py = toPixelY(y);
  if (!detail::allFinite(px, py)) return std::nullopt;
  const std::int64_t ix = detail::wholePixel(px), iy = detail::wholePixel(py);
  if (ix < 0 || iy < 0 || ix >= width_ || iy >= height_) return std::nullopt;
  return pixel(static_cast<int>(ix), static_cast<int>(iy));
}

void Surface::plotPixel(int px, int py, Rgb color) noexcept {
  if (px < 0 || py < 0 || px >= width_ || py >= height_) return;
  detail::applyPixel(pixels_[static_cast<std::size_t>(py) * width_ + px], penValue(color), mode_);
}

void Surface::plotSpan(int py, int x0, int x1, Rgb color) noexcept {
  if (py < 0 || py >= height_) return;
  if (x0 < 0) x0 = 0;
  if (x1 >= width_) x1 = width_ - 1;
  if (x0 > x1) return;
  Pixel* row = pixels_.data() + static_cast<std::size_t>(py) * width_;
  detail::applySpan(row + x0, row + x1, penValue(color), mode_);
}

void Surface::clear(Rgb color) noexcept {
  std::fill(pixels_.begin(), pixels_.end(), toPixel(color));
  moveTo(0.0, 0.0);
}

}  // namespace orbelle::raster
