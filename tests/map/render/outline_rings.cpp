#include "outline_rings.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "geometry/constants.hpp"
#include "render/outline_records.hpp"

namespace orbelle::render::test {

std::vector<Ring> readRings(const std::string& path) {
  const auto bytes = readWholeFile(path);
  if (!bytes) throw std::runtime_error(path + ": missing");
  const std::vector<OutlineRecord> records = parseOutlineRecords(*bytes);
  std::vector<Ring> rings;
  const std::size_t count = recordsBeforeEnd(records);
  for (std::size_t i = 0; i < count; ++i) {
    const OutlineRecord& r = records[i];
    switch (penAction(r.code)) {
      case PenAction::Start:
        rings.emplace_back();
        rings.back().push_back({r.latDegrees(), r.lonDegrees()});
        break;
      case PenAction::Line:
        if (!rings.empty()) rings.back().push_back({r.latDegrees(), r.lonDegrees()});
        break;
      default:
        break;
    }
  }
  return rings;
}

namespace {

// Longitude difference b − a folded into (−180, 180].
double lonStep(double a, double b) {
  double d = b - a;
  while (d > 180.0) d -= 360.0;
  while (d <= -180.0) d += 360.0;
  return d;
}

}  // namespace

ShoreRings::ShoreRings(const std::string& folder) {
  for (const char* name : {"coast.velapnt", "island.pnt", "lake.pnt"}) {
    std::vector<Ring> more = readRings(folder + "/" + name);
    rings_.insert(rings_.end(), std::make_move_iterator(more.begin()),
                  std::make_move_iterator(more.end()));
  }
  for (const Ring& ring : rings_) {
    Extent e;
    e.minLat = e.maxLat = ring.front().lat;
    double lon = ring.front().lon;
    e.west = e.east = lon;
    for (std::size_t i = 1; i <= ring.size(); ++i) {
      const RingVertex& v = ring[i % ring.size()];
      lon += lonStep(ring[i - 1].lon, v.lon);
      e.minLat = std::min(e.minLat, v.lat);
      e.maxLat = std::max(e.maxLat, v.lat);
      e.west = std::min(e.west, lon);
      e.east = std::max(e.east, lon);
    }
    e.aroundPole = e.east - e.west >= 359.0;
    extents_.push_back(e);
  }
}

bool ShoreRings::Extent::spans(double lon) const {
  if (aroundPole) return true;
  double shifted = lon;
  while (shifted > west) shifted -= 360.0;
  while (shifted < west) shifted += 360.0;
  return shifted <= east;
}

int ShoreRings::ringsAround(double lat, double lon) const {
  int around = 0;
  for (std::size_t r = 0; r < rings_.size(); ++r) {
    if (extents_[r].maxLat <= lat || !extents_[r].spans(lon)) continue;
    const Ring& ring = rings_[r];
    int crossings = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const RingVertex& a = ring[i];
      const RingVertex& b = ring[(i + 1) % ring.size()];
      // Half-open test on the longitude relative to the position: the edge crosses the meridian
      // when its ends lie on different sides of it (short edges, so the fold is unambiguous).
      const double da = lonStep(lon, a.lon);
      const double step = lonStep(a.lon, b.lon);
      const double db = da + step;
      const bool aEast = da > 0.0, bEast = db > 0.0;
      if (aEast == bEast || std::fabs(step) >= 180.0) continue;
      const double t = da / (da - db);
      const double crossLat = a.lat + t * (b.lat - a.lat);
      if (crossLat > lat) ++crossings;
    }
    around += crossings % 2;
  }
  return around;
}

double ShoreRings::milesToShore(double lat, double lon) const {
  const double milesPerDegree = geo::kMilesPerDegree;
  const double cosLat = std::cos(lat * geo::kDegToRad);
  double best = std::numeric_limits<double>::infinity();
  for (std::size_t r = 0; r < rings_.size(); ++r) {
    const double latGap = std::max({0.0, extents_[r].minLat - lat, lat - extents_[r].maxLat});
    if (latGap * milesPerDegree > best) continue;
    const Ring& ring = rings_[r];
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const RingVertex& a = ring[i];
      const RingVertex& b = ring[(i + 1) % ring.size()];
      // Segments are short (about 0.1 degree): one whose ends are both farther north or south
      // than the best distance so far cannot be nearer.
      if (std::min(std::fabs(a.lat - lat), std::fabs(b.lat - lat)) * milesPerDegree > best) {
        continue;
      }
      // Local plane around the position, miles.
      const double ax = lonStep(lon, a.lon) * cosLat * milesPerDegree;
      const double ay = (a.lat - lat) * milesPerDegree;
      // From a along the short way, so that a segment across the position's antimeridian stays
      // on the far side of the plane.
      const double bx = ax + lonStep(a.lon, b.lon) * cosLat * milesPerDegree;
      const double by = (b.lat - lat) * milesPerDegree;
      const double dx = bx - ax, dy = by - ay;
      const double length2 = dx * dx + dy * dy;
      double t = length2 > 0.0 ? -(ax * dx + ay * dy) / length2 : 0.0;
      t = std::clamp(t, 0.0, 1.0);
      best = std::min(best, std::hypot(ax + t * dx, ay + t * dy));
    }
  }
  return best;
}

}  // namespace orbelle::render::test
