#pragma once

// The projection of outline vertices (whole minutes of arc) for one station, reorganised for
// speed. A vertex's east, north and vertical components are formed from tabulated sines and
// cosines of its latitude and of its longitude's difference from the station; its arc comes from
// one arctangent of them (render/arc_tangent.hpp) and its map position is the arc times the unit
// direction. Where the literal projection's own rounding could come near the tolerance (near the
// station's antipode, and near due east and west, where the literal formula goes through
// ill-conditioned square roots), the vertex goes through geo::StationProjector, which reproduces
// the literal formula to the bit. Every result lies within 1e-6 mile of geo::ProjectPoint; a test checks that on every vertex of
// the shipped data for a range of stations.
//
// Immutable after construction: project() may be called from several threads at once.

#include <cmath>
#include <cstdint>
#include <vector>

#include "geometry/constants.hpp"
#include "geometry/projection.hpp"
#include "render/arc_tangent.hpp"

namespace orbelle::render {

class OutlineProjector {
 public:
  // Station in degrees, north and east positive.
  OutlineProjector(double latHere, double lonHere);

  // Map position in miles of (latMinutes / 60, lonMinutes / 60) degrees. Inline: it runs for
  // every vertex of every pass.
  geo::MapPoint project(std::int16_t latMinutes, std::int16_t lonMinutes) const noexcept;

  const geo::StationProjector& literal() const noexcept { return station_; }

  struct Trig {
    double sin = 0.0;
    double cos = 0.0;
  };

 private:
  static constexpr int kLatMinutes = 90 * 60;
  static constexpr int kLonMinutes = 180 * 60;

  // When the literal route is taken. The literal formula finds the arc's sine as √(1 − v²) from
  // the arc's cosine v, whose rounding (a few units of 1e-16) is magnified by 1 / (1 − |v|) near
  // the station and its antipode, and its bearing's cosine as √(1 − s²) from the bearing's sine
  // s, magnified by 1 / |cos β| near due east and west. This route has neither weakness, so the
  // two differ by about the literal route's own error, which is at most
  //   kFarthestMiles · (kArcCosineError / (1 − |v|) + kBearingSineError) · (1 + 1 / |cos β|).
  // Where that estimate exceeds kAgreementMiles the vertex goes the literal way; it takes a
  // position within some tens of miles of the station's antipode, or a bearing very near due
  // east or west.
  static constexpr double kFarthestMiles = 12433.0;
  static constexpr double kArcCosineError = 4e-16;
  static constexpr double kBearingSineError = 1e-15;
  static constexpr double kAgreementMiles = 2.5e-7;

  geo::MapPoint projectLiteral(std::int16_t latMinutes, std::int16_t lonMinutes) const noexcept;

  geo::StationProjector station_;
  double sinLat1_;
  double cosLat1_;
  const Trig* lat_;         // sine and cosine of the latitude, index latMinutes + 5400
  std::vector<Trig> dlon_;  // of the longitude's difference from the station, lonMinutes + 10800
  const arc_detail::Table& arcs_;
};

inline geo::MapPoint OutlineProjector::project(std::int16_t latMinutes,
                                               std::int16_t lonMinutes) const noexcept {
  if (latMinutes < -kLatMinutes || latMinutes > kLatMinutes || lonMinutes < -kLonMinutes ||
      lonMinutes > kLonMinutes) {
    return projectLiteral(latMinutes, lonMinutes);
  }
  const Trig& lat2 = lat_[latMinutes + kLatMinutes];
  const Trig& dl = dlon_[static_cast<std::size_t>(lonMinutes + kLonMinutes)];

  const double east = lat2.cos * dl.sin;
  const double north = cosLat1_ * lat2.sin - sinLat1_ * lat2.cos * dl.cos;
  const double up = sinLat1_ * lat2.sin + cosLat1_ * lat2.cos * dl.cos;
  const double across = std::sqrt(east * east + north * north);  // sine of the arc
  // The error estimate above, multiplied through by (1 − |v|) · |cos β| · across.
  const double fromPole = 1.0 - std::fabs(up);
  const double absNorth = std::fabs(north);
  // Written as "not below" so that a station that is not a place (NaN) takes the literal way too.
  if (!(kFarthestMiles * (kArcCosineError + kBearingSineError * fromPole) * (across + absNorth) <
        kAgreementMiles * absNorth * fromPole)) {
    return projectLiteral(latMinutes, lonMinutes);
  }
  // Here across > 0 and finite: the station itself (across = 0) fails the test above.
  const double miles = arcOf(arcs_, across, up) / geo::kDegToRad * geo::kNauticalMilesPerDegree *
                       geo::kMilesPerNauticalMile;
  const double scale = miles / across;
  return {east * scale, north * scale};
}

}  // namespace orbelle::render
