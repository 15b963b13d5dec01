#pragma once

// The projection of outline vertices (whole minutes of arc) for one station, reorganised for
// speed. A vertex's east, north and vertical components are formed from tabulated sines and
// cosines of its latitude and of its longitude's difference from the station; its arc comes from
// one arctangent of them and its map position is the arc times the unit direction. Where the
// literal projection's own rounding could come near the tolerance (near the station's antipode,
// and near due east and west, where the literal formula goes through ill-conditioned square
// roots), the vertex goes through geo::StationProjector, which reproduces the literal formula to
// the bit.
// Every result lies within 1e-6 mile of geo::ProjectPoint; a test checks that on every vertex of
// the shipped data for a range of stations.
//
// Immutable after construction: project() may be called from several threads at once.

#include <cstdint>
#include <vector>

#include "geometry/projection.hpp"

namespace orbelle::render {

class OutlineProjector {
 public:
  // Station in degrees, north and east positive.
  OutlineProjector(double latHere, double lonHere);

  // Map position in miles of (latMinutes / 60, lonMinutes / 60) degrees.
  geo::MapPoint project(std::int16_t latMinutes, std::int16_t lonMinutes) const noexcept;

  const geo::StationProjector& literal() const noexcept { return station_; }

 private:
  struct Trig {
    double sin = 0.0;
    double cos = 0.0;
  };

  geo::StationProjector station_;
  double sinLat1_;
  double cosLat1_;
  std::vector<Trig> dlon_;  // index lonMinutes + 10800
};

}  // namespace orbelle::render
