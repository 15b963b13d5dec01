#include "render/outline_projector.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orbelle::render {

namespace {

constexpr int kLatMinutes = 90 * 60;
constexpr int kLonMinutes = 180 * 60;

// When the literal route is taken. The literal formula finds the arc's sine as √(1 − v²) from
// the arc's cosine v, whose rounding (a few units of 1e-16) is magnified by 1 / (1 − |v|) near
// the station and its antipode, and its bearing's cosine as √(1 − s²) from the bearing's sine s,
// magnified by 1 / |cos β| near due east and west. This route has neither weakness, so the two
// differ by about the literal route's own error, which is at most
//   kFarthestMiles · (kArcCosineError / (1 − |v|) + kBearingSineError) · (1 + 1 / |cos β|).
// Where that estimate exceeds kAgreementMiles the vertex goes the literal way; it takes a position
// within some tens of miles of the station's antipode, or a bearing very near due east or west.
constexpr double kFarthestMiles = 12433.0;
constexpr double kArcCosineError = 4e-16;
constexpr double kBearingSineError = 1e-15;
constexpr double kAgreementMiles = 2.5e-7;

double minutesToDegrees(int minutes) { return minutes / 60.0; }

struct LatTable {
  std::vector<double> sin, cos;  // index latMinutes + 5400
  LatTable() {
    for (int m = -kLatMinutes; m <= kLatMinutes; ++m) {
      const double phi = minutesToDegrees(m) * geo::kDegToRad;
      sin.push_back(std::sin(phi));
      cos.push_back(std::cos(phi));
    }
  }
};

const LatTable& latTable() {
  static const LatTable table;
  return table;
}

}  // namespace

OutlineProjector::OutlineProjector(double latHere, double lonHere)
    : station_(latHere, lonHere),
      sinLat1_(std::sin(latHere * geo::kDegToRad)),
      cosLat1_(std::cos(latHere * geo::kDegToRad)) {
  latTable();  // built once per process, before any thread projects
  dlon_.reserve(2 * kLonMinutes + 1);
  for (int m = -kLonMinutes; m <= kLonMinutes; ++m) {
    const double dl = (minutesToDegrees(m) - lonHere) * geo::kDegToRad;
    dlon_.push_back({std::sin(dl), std::cos(dl)});
  }
}

geo::MapPoint OutlineProjector::project(std::int16_t latMinutes,
                                        std::int16_t lonMinutes) const noexcept {
  const double lat = minutesToDegrees(latMinutes), lon = minutesToDegrees(lonMinutes);
  if (latMinutes < -kLatMinutes || latMinutes > kLatMinutes || lonMinutes < -kLonMinutes ||
      lonMinutes > kLonMinutes) {
    return station_.project(lat, lon);
  }
  const LatTable& lats = latTable();
  const auto li = static_cast<std::size_t>(latMinutes + kLatMinutes);
  const double sinLat2 = lats.sin[li], cosLat2 = lats.cos[li];
  const Trig& dl = dlon_[static_cast<std::size_t>(lonMinutes + kLonMinutes)];

  const double east = cosLat2 * dl.sin;
  const double north = cosLat1_ * sinLat2 - sinLat1_ * cosLat2 * dl.cos;
  const double up = sinLat1_ * sinLat2 + cosLat1_ * cosLat2 * dl.cos;
  const double across = std::sqrt(east * east + north * north);  // sine of the arc
  // The error estimate above, multiplied through by (1 − |v|) · |cos β| · across.
  const double fromPole = 1.0 - std::fabs(up);
  const double absNorth = std::fabs(north);
  if (kFarthestMiles * (kArcCosineError + kBearingSineError * fromPole) * (across + absNorth) >=
      kAgreementMiles * absNorth * fromPole) {
    return station_.project(lat, lon);
  }
  const double miles = std::atan2(across, up) / geo::kDegToRad * geo::kNauticalMilesPerDegree *
                       geo::kMilesPerNauticalMile;
  const double scale = miles / across;
  return {east * scale, north * scale};
}

}  // namespace orbelle::render
