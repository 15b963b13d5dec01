#include "render/outline_projector.hpp"

#include <cmath>

namespace orbelle::render {

namespace {

double minutesToDegrees(int minutes) { return minutes / 60.0; }

// Sine and cosine of every whole minute of latitude, built once per process.
const std::vector<OutlineProjector::Trig>& latTable() {
  static const std::vector<OutlineProjector::Trig> table = [] {
    std::vector<OutlineProjector::Trig> t;
    for (int m = -90 * 60; m <= 90 * 60; ++m) {
      const double phi = minutesToDegrees(m) * geo::kDegToRad;
      t.push_back({std::sin(phi), std::cos(phi)});
    }
    return t;
  }();
  return table;
}

}  // namespace

OutlineProjector::OutlineProjector(double latHere, double lonHere)
    : station_(latHere, lonHere),
      sinLat1_(std::sin(latHere * geo::kDegToRad)),
      cosLat1_(std::cos(latHere * geo::kDegToRad)),
      lat_(latTable().data()),
      arcs_(arcTangentTable()) {
  dlon_.reserve(2 * kLonMinutes + 1);
  for (int m = -kLonMinutes; m <= kLonMinutes; ++m) {
    const double dl = (minutesToDegrees(m) - lonHere) * geo::kDegToRad;
    dlon_.push_back({std::sin(dl), std::cos(dl)});
  }
}

geo::MapPoint OutlineProjector::projectLiteral(std::int16_t latMinutes,
                                               std::int16_t lonMinutes) const noexcept {
  return station_.project(minutesToDegrees(latMinutes), minutesToDegrees(lonMinutes));
}

}  // namespace orbelle::render
