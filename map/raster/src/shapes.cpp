// Circles and arcs. A circle is the ring of pixels whose centres lie at a distance in
// (R − w/2, R + w/2] from the centre: any 4-connected walk from inside to outside changes the
// distance by at most 1 per step and so must land in the ring, which makes every circle a closed
// barrier for the fill. Arcs add round ends.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "device.hpp"
#include "raster/surface.hpp"

namespace orbelle::raster {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kEdgeTolerance = 1e-9;

// Angle in [0, 2π).
double normaliseAngle(double angle) {
  double a = std::fmod(angle, kTwoPi);
  if (a < 0.0) a += kTwoPi;
  if (a >= kTwoPi) a = 0.0;
  return a;
}

bool angleWithin(double angle, double start, double end) {
  return start <= end ? (angle >= start && angle <= end) : (angle >= start || angle <= end);
}

}  // namespace

void Surface::circle(double cx, double cy, double radius) {
  moveTo(cx, cy);
  const double pcx = toPixelX(cx), pcy = toPixelY(cy);
  const double pr = std::fabs(radius / unitWidth());
  if (!detail::allFinite(pcx, pcy) || !std::isfinite(pr)) return;
  ring(static_cast<double>(detail::wholePixel(pcx)), static_cast<double>(detail::wholePixel(pcy)),
       pr, penValue(color_));
}

void Surface::arc(double cx, double cy, double radius, double start, double end) {
  moveTo(cx, cy);
  const double pcx = toPixelX(cx), pcy = toPixelY(cy);
  const double pr = std::fabs(radius / unitWidth());
  if (!detail::allFinite(pcx, pcy) || !detail::allFinite(start, end) || !std::isfinite(pr)) return;
  const double centreX = static_cast<double>(detail::wholePixel(pcx));
  const double centreY = static_cast<double>(detail::wholePixel(pcy));
  if (std::fabs(end - start) >= kTwoPi) {
    ring(centreX, centreY, pr, penValue(color_));
    return;
  }
  arcStroke(centreX, centreY, pr, normaliseAngle(start), normaliseAngle(end), penValue(color_));
}

void Surface::ring(double cx, double cy, double radius, Pixel value) {
  const double outer = radius + penWidth_ / 2.0;
  const double inner = radius - penWidth_ / 2.0;
  const double outer2 = outer * outer + kEdgeTolerance;
  const double inner2 = inner > 0.0 ? inner * inner + kEdgeTolerance : -1.0;

  const double rowFirst = std::max(0.0, std::ceil(cy - outer));
  const double rowLast = std::min(height_ - 1.0, std::floor(cy + outer));
  for (double y = rowFirst; y <= rowLast; y += 1.0) {
    const double dy2 = (y - cy) * (y - cy);
    if (dy2 > outer2) continue;
    const double a = std::sqrt(outer2 - dy2);
    const double lo = std::ceil(cx - a), hi = std::floor(cx + a);
    const int row = static_cast<int>(y);
    if (dy2 > inner2) {
      // Row passes outside the inner disc: one run.
      plotSpanValue(row, lo, hi, value);
      continue;
    }
    // Pixels with distance² > inner²: left of cx − b and right of cx + b.
    const double b = std::sqrt(inner2 - dy2);
    plotSpanValue(row, lo, std::min(hi, std::ceil(cx - b) - 1.0), value);
    plotSpanValue(row, std::max(lo, std::floor(cx + b) + 1.0), hi, value);
  }
}

void Surface::arcStroke(double cx, double cy, double radius, double start, double end,
                        Pixel value) {
  const double half = penWidth_ / 2.0 + kEdgeTolerance;
  const double inner = radius - penWidth_ / 2.0, outer = radius + penWidth_ / 2.0;
  // Screen angles run counter-clockwise with y growing downwards on the surface.
  const double sx = cx + radius * std::cos(start), sy = cy - radius * std::sin(start);
  const double ex = cx + radius * std::cos(end), ey = cy - radius * std::sin(end);

  // Bounding box: both ends and every axis extreme the arc passes, widened by the pen.
  double minX = std::min(sx, ex), maxX = std::max(sx, ex);
  double minY = std::min(sy, ey), maxY = std::max(sy, ey);
  for (int quarter = 0; quarter < 4; ++quarter) {
    const double angle = quarter * (kTwoPi / 4.0);
    if (!angleWithin(angle, start, end)) continue;
    const double px = cx + radius * std::cos(angle), py = cy - radius * std::sin(angle);
    minX = std::min(minX, px);
    maxX = std::max(maxX, px);
    minY = std::min(minY, py);
    maxY = std::max(maxY, py);
  }
  const double xFirst = std::max(0.0, std::floor(minX - half));
  const double xLast = std::min(width_ - 1.0, std::ceil(maxX + half));
  const double yFirst = std::max(0.0, std::floor(minY - half));
  const double yLast = std::min(height_ - 1.0, std::ceil(maxY + half));

  for (double y = yFirst; y <= yLast; y += 1.0) {
    Pixel* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
    for (double x = xFirst; x <= xLast; x += 1.0) {
      const double dx = x - cx, dy = y - cy;
      const double distance = std::sqrt(dx * dx + dy * dy);
      bool inside = false;
      if (distance > inner && distance <= outer + kEdgeTolerance) {
        inside = angleWithin(normaliseAngle(std::atan2(-dy, dx)), start, end);
      }
      if (!inside) {
        inside = std::hypot(x - sx, y - sy) <= half || std::hypot(x - ex, y - ey) <= half;
      }
      if (inside) detail::applyPixel(row[static_cast<int>(x)], value, mode_);
    }
  }
}

void Surface::plotSpanValue(int py, double x0, double x1, Pixel value) noexcept {
  const double first = std::max(0.0, x0);
  const double last = std::min(width_ - 1.0, x1);
  if (py < 0 || py >= height_ || first > last) return;
  Pixel* row = pixels_.data() + static_cast<std::size_t>(py) * width_;
  detail::applySpan(row + static_cast<int>(first), row + static_cast<int>(last), value, mode_);
}

}  // namespace orbelle::raster
