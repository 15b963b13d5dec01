#include "render/stretched_segment.hpp"

#include <cmath>

#include "geometry/great_circle.hpp"

namespace orbelle::render {

namespace {

double projectedLength(geo::MapPoint a, geo::MapPoint b) noexcept {
  return std::hypot(b.x - a.x, b.y - a.y);
}

}  // namespace

bool mayBeStretched(geo::MapPoint a, geo::MapPoint b) noexcept {
  // The true length is never negative, so a projected length within the excess cannot exceed
  // it. Compared squared: this runs for every outline vertex.
  const double dx = b.x - a.x, dy = b.y - a.y;
  return dx * dx + dy * dy > kMaxStretchExcessMiles * kMaxStretchExcessMiles;
}

bool isStretchedSegment(geo::MapPoint a, geo::MapPoint b, double trueMiles) noexcept {
  return isStretchedSegment(projectedLength(a, b), trueMiles);
}

double trueSegmentMiles(double lat1, double lon1, double lat2, double lon2) {
  return geo::DistanceBearing(lat1, lon1, lat2, lon2).miles;
}

bool isStretchedSegment(geo::MapPoint a, geo::MapPoint b, double lat1, double lon1, double lat2,
                        double lon2) {
  if (!mayBeStretched(a, b)) return false;
  return isStretchedSegment(a, b, trueSegmentMiles(lat1, lon1, lat2, lon2));
}

}  // namespace orbelle::render
