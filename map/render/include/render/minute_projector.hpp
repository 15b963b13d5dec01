#pragma once

// The projection of outline vertices, which lie on the one-minute grid, for one station. The
// sines and cosines of every grid latitude and of every grid longitude's difference from the
// station are tabulated once per station; each vertex then needs only the arc and the bearing's
// sine, computed by the same operations in the same order as the literal projection, so the
// results agree with geo::ProjectPoint to within 1e-6 mile (a test checks every vertex of the
// shipped data for several stations). Positions off the grid's range (possible in malformed
// files) go through geo::StationProjector.
//
// Immutable after construction: project() may be called from several threads at once.

#include <cstdint>
#include <vector>

#include "geometry/projection.hpp"

namespace orbelle::render {

class MinuteProjector {
 public:
  // Station in degrees, north and east positive.
  MinuteProjector(double latHere, double lonHere);

  // Map position in miles of (latMinutes / 60, lonMinutes / 60) degrees.
  geo::MapPoint project(std::int16_t latMinutes, std::int16_t lonMinutes) const noexcept;

  const geo::StationProjector& stationProjector() const noexcept { return station_; }

 private:
  struct SinCos {
    double sin = 0.0;
    double cos = 0.0;
  };
  struct Difference {
    double degrees = 0.0;  // folded longitude difference, [−180, 180]
    double sin = 0.0;
    double cos = 0.0;
  };

  geo::StationProjector station_;
  double latHere_;
  double lonHere_;
  double sinLat1_;
  double cosLat1_;
  std::vector<SinCos> latitudes_;       // index latMinutes + 5400
  std::vector<Difference> longitudes_;  // index lonMinutes + 10800
};

}  // namespace orbelle::render
