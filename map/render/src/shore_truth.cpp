#include "render/shore_truth.hpp"

#include <algorithm>

namespace orbelle::render {

namespace {

struct RingSpan {
  std::size_t begin = 0, end = 0;  // into the vertices
  bool fromLandFile = false;       // coast or island file
  int north = -5400;  // northernmost latitude, minutes
};

}  // namespace

ShoreTruth::ShoreTruth(std::span<const std::span<const OutlineRecord>> files) {
  std::vector<geo::MinutePoint> vertices;
  std::vector<RingSpan> rings;
  for (std::size_t f = 0; f < files.size(); ++f) {
    files_.emplace_back(files[f].begin(), files[f].end());
    for (const OutlineRecord& r : files[f]) {
      const PenAction action = penAction(r.code);
      if (action == PenAction::Start) {
        rings.push_back({vertices.size(), vertices.size(), f < 2});
      } else if (action != PenAction::Line || rings.empty()) {
        continue;  // ignored records, and lines before the first start, belong to no ring
      }
      vertices.push_back({r.latMinutes, r.lonMinutes});
      RingSpan& ring = rings.back();
      ring.end = vertices.size();
      ring.north = std::max<int>(ring.north, r.latMinutes);
    }
  }

  auto closed = [&](const RingSpan& ring) {
    if (ring.end - ring.begin < 4) return false;
    const geo::MinutePoint a = vertices[ring.begin], b = vertices[ring.end - 1];
    return a.lat == b.lat && a.lon == b.lon;
  };
  auto span = [&](const RingSpan& ring) {
    return std::span<const geo::MinutePoint>(vertices).subspan(ring.begin, ring.end - ring.begin);
  };

  masks_.assign(rings.size(), 0);
  for (std::size_t i = 0; i < rings.size(); ++i) {
    if (closed(rings[i])) masks_[i] = kLandBit;
  }
  // The ice caps: of the land rings around each position, the outermost (the one with most
  // vertices; a ring inside another has fewer).
  for (const IceCapPosition& cap : kIceCapPositions) {
    std::size_t best = rings.size();
    for (std::size_t i = 0; i < rings.size(); ++i) {
      if (masks_[i] == 0 || !rings[i].fromLandFile) continue;
      // The meridian from the position northwards never meets a ring wholly south of it.
      if (cap.lat * 60.0 > rings[i].north) continue;
      if (!geo::ringEncloses(span(rings[i]), cap.lat, cap.lon)) continue;
      if (best == rings.size() ||
          rings[i].end - rings[i].begin > rings[best].end - rings[best].begin) {
        best = i;
      }
    }
    if (best < rings.size()) masks_[best] |= kIceBit;
  }
  for (std::size_t i = 0; i < rings.size(); ++i) {
    if (masks_[i] != 0) index_.addRing(span(rings[i]), masks_[i]);
  }
  index_.build();
}

bool ShoreTruth::builtFrom(std::span<const std::span<const OutlineRecord>> files) const noexcept {
  if (files.size() != files_.size()) return false;
  for (std::size_t f = 0; f < files.size(); ++f) {
    if (!std::equal(files[f].begin(), files[f].end(), files_[f].begin(), files_[f].end())) {
      return false;
    }
  }
  return true;
}

geo::RingMask ShoreTruth::at(double lat, double lon) const noexcept {
  return index_.at(lat, lon);
}

}  // namespace orbelle::render
