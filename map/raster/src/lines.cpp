// Lines and dots: one-pixel lines by integer stepping, wide lines and dots as round-ended
// capsules filled row by row, so every pixel is written once.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "device.hpp"
#include "raster/surface.hpp"

namespace orbelle::raster {

namespace {

// Pixel-centre tolerance: centres within this of a shape's edge count as inside, so that exact
// boundary cases (a centre exactly w/2 away) do not depend on rounding in a square root.
constexpr double kEdgeTolerance = 1e-9;

struct Interval {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  bool empty() const { return lo > hi; }
  void join(const Interval& other) {
    if (other.empty()) return;
    lo = std::min(lo, other.lo);
    hi = std::max(hi, other.hi);
  }
  void intersect(double a, double b) {
    lo = std::max(lo, a);
    hi = std::min(hi, b);
  }
};

WholePixel wholePixelOf(double px, double py) noexcept {
  if (!detail::allFinite(px, py)) return {};
  return {detail::wholePixel(px), detail::wholePixel(py), true};
}

// x values on row y within distance r of the point (cx, cy).
Interval discRow(double cx, double cy, double r, double y) {
  const double dy = y - cy;
  const double rest = r * r - dy * dy;
  if (rest < 0.0) return {};
  const double half = std::sqrt(rest);
  return {cx - half, cx + half};
}

// x values with lo ≤ slope·x + offset ≤ hi.
Interval linearRange(double slope, double offset, double lo, double hi) {
  const double inf = std::numeric_limits<double>::infinity();
  if (slope == 0.0) return (offset >= lo && offset <= hi) ? Interval{-inf, inf} : Interval{};
  double a = (lo - offset) / slope, b = (hi - offset) / slope;
  if (a > b) std::swap(a, b);
  return {a, b};
}

}  // namespace

void Surface::lineTo(double x, double y) { line(currentX_, currentY_, x, y, color_); }

WholePixel Surface::currentPixel() const noexcept {
  return currentPixelKnown_ ? currentPixel_
                            : wholePixelOf(toPixelX(currentX_), toPixelY(currentY_));
}

void Surface::lineTo(double x, double y, WholePixel to) {
  const WholePixel from = currentPixel();
  moveTo(x, y);
  currentPixel_ = to;
  currentPixelKnown_ = true;
  strokeWhole(from, to, penValue(color_));
}

void Surface::line(double x1, double y1, double x2, double y2) { line(x1, y1, x2, y2, color_); }

void Surface::line(double x1, double y1, double x2, double y2, Rgb color) {
  // A polyline's lines start where the last one ended: its pixel is known already.
  const WholePixel from = currentPixelKnown_ && x1 == currentX_ && y1 == currentY_
                              ? currentPixel_
                              : wholePixelOf(toPixelX(x1), toPixelY(y1));
  const WholePixel to = wholePixelOf(toPixelX(x2), toPixelY(y2));
  moveTo(x2, y2);
  currentPixel_ = to;
  currentPixelKnown_ = true;
  strokeWhole(from, to, penValue(color));
}

void Surface::dot(double x, double y) { dot(x, y, color_); }

void Surface::dot(double x, double y, Rgb color) {
  moveTo(x, y);
  const double px = toPixelX(x), py = toPixelY(y);
  strokeSegment(px, py, px, py, penValue(color));
}

WholePixel PixelMapping::of(double x, double y) const noexcept {
  return wholePixelOf((x - left_) / unitWidth_, (y - top_) / unitHeight_);
}

void Surface::strokeSegment(double px1, double py1, double px2, double py2, Pixel value) {
  strokeWhole(wholePixelOf(px1, py1), wholePixelOf(px2, py2), value);
}

void Surface::strokeWhole(WholePixel from, WholePixel to, Pixel value) {
  if (!from.finite || !to.finite) return;
  const std::int64_t x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
  if (penWidth_ == 1) {
    thinLine(x1, y1, x2, y2, value);
    return;
  }
  const double shift = penWidth_ % 2 == 0 ? -0.5 : 0.0;
  capsule(static_cast<double>(x1) + shift, static_cast<double>(y1) + shift,
          static_cast<double>(x2) + shift, static_cast<double>(y2) + shift, penWidth_ / 2.0, value);
}

// Steps along the major axis from the endpoint with the lower major coordinate; the minor
// coordinate is the exact line rounded to nearest (ties away from the start), kept in an integer
// remainder. Only the steps whose major coordinate lies on the surface are walked, starting
// from the exact remainder there, so clipping never moves a pixel.
void Surface::thinLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                       Pixel value) {
  const bool xMajor = std::llabs(x2 - x1) >= std::llabs(y2 - y1);
  if (!xMajor) {
    std::swap(x1, y1);
    std::swap(x2, y2);
  }
  if (x1 > x2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  const std::int64_t majorSize = xMajor ? width_ : height_;
  const std::int64_t minorSize = xMajor ? height_ : width_;
  const std::int64_t dx = x2 - x1;
  const std::int64_t ady = std::llabs(y2 - y1);
  const std::int64_t sy = y2 >= y1 ? 1 : -1;

  const std::int64_t kFirst = std::max<std::int64_t>(0, -x1);
  const std::int64_t kLast = std::min<std::int64_t>(dx, majorSize - 1 - x1);
  if (kFirst > kLast) return;

  const std::int64_t twiceDx = 2 * dx;
  // Minor offset q and remainder r of (2·k·ady + dx) / (2·dx) at the first step; the division
  // is only needed when the start is clipped.
  std::int64_t q = 0, r = dx;
  if (kFirst > 0) {
    const std::int64_t numerator = 2 * kFirst * ady + dx;
    q = numerator / twiceDx;
    r = numerator % twiceDx;
  }
  const std::int64_t stepMajor = xMajor ? 1 : width_;
  const std::int64_t stepMinor = xMajor ? width_ : 1;
  Pixel* const base = pixels_.data();
  for (std::int64_t k = kFirst; k <= kLast; ++k) {
    const std::int64_t minor = y1 + sy * q;
    if (minor >= 0 && minor < minorSize) {
      detail::applyPixel(base[(x1 + k) * stepMajor + minor * stepMinor], value, mode_);
    }
    r += 2 * ady;
    if (r >= twiceDx) {
      r -= twiceDx;
      ++q;
    }
  }
}

// Pixels whose centres lie within radius of the segment from (ax, ay) to (bx, by), in pixel
// coordinates. Each row of that convex shape is one run.
void Surface::capsule(double ax, double ay, double bx, double by, double radius, Pixel value) {
  const double r = radius + kEdgeTolerance;
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  const double length = std::sqrt(length2);

  const double rowFirst = std::max(0.0, std::ceil(std::min(ay, by) - r));
  const double rowLast = std::min(height_ - 1.0, std::floor(std::max(ay, by) + r));
  for (double y = rowFirst; y <= rowLast; y += 1.0) {
    Interval run = discRow(ax, ay, r, y);
    if (length2 > 0.0) {
      run.join(discRow(bx, by, r, y));
      // The band: projection onto the segment within [0, length²] and distance from its line
      // at most r; both conditions are linear in x on this row.
      Interval band = linearRange(dx, (y - ay) * dy - ax * dx, 0.0, length2);
      const Interval side = linearRange(-dy, dx * (y - ay) + dy * ax, -r * length, r * length);
      band.intersect(side.lo, side.hi);
      run.join(band);
    }
    if (run.empty()) continue;
    const double first = std::max(0.0, std::ceil(run.lo));
    const double last = std::min(width_ - 1.0, std::floor(run.hi));
    if (first > last) continue;
    Pixel* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
    detail::applySpan(row + static_cast<int>(first), row + static_cast<int>(last), value, mode_);
  }
}

}  // namespace orbelle::raster
