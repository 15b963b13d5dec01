#pragma once

// Land, water and ice on the globe as the shore files (coast, island, lake) define them: the
// closed rings of those files in a RingIndex, each with the mask kLandBit, and kIceBit as well
// on the rings of the two ice caps. The ice caps are the rings of the coast and island files
// that enclose kIceCapPositions (Antarctica with its ice shelves, Greenland).
//
// Rings are numbered from 0 in file order, one per start record (the numbering the outline
// reader's polylines follow); a polyline whose last vertex is not its first is no ring, gets
// mask 0 and counts for nothing.

#include <array>
#include <span>
#include <vector>

#include "geometry/ring_index.hpp"
#include "render/outline_records.hpp"

namespace orbelle::render {

inline constexpr geo::RingMask kLandBit = 1;
inline constexpr geo::RingMask kIceBit = 2;

struct IceCapPosition {
  double lat = 0.0;  // degrees
  double lon = 0.0;
};

// Inside the Antarctic and the Greenland ice caps, far from their shores.
inline constexpr std::array<IceCapPosition, 2> kIceCapPositions{{{-79.0, 50.0}, {74.0, -41.0}}};

class ShoreTruth {
 public:
  // The records of the coast, island and lake files, in that order, each up to its end record.
  explicit ShoreTruth(std::span<const std::span<const OutlineRecord>> files);

  // True when these are the records this was built from.
  bool builtFrom(std::span<const std::span<const OutlineRecord>> files) const noexcept;

  // The XOR of the masks of the rings around the position (degrees): kLandBit set on land
  // (inside an odd number of rings), kIceBit set inside an ice cap's coast, its lakes included.
  geo::RingMask at(double lat, double lon) const noexcept;

  // Per ring (in reader order), its mask.
  std::span<const geo::RingMask> ringMasks() const noexcept { return masks_; }

 private:
  std::vector<std::vector<OutlineRecord>> files_;
  std::vector<geo::RingMask> masks_;
  geo::RingIndex index_;
};

}  // namespace orbelle::render
