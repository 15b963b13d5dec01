// Joining the binned pieces of GMT's shoreline output back into whole closed rings.
#pragma once

#include <cstddef>
#include <vector>

#include "geo.hpp"

namespace mapdata {

struct RingAssembly {
  std::vector<Polyline> rings;       // closed: front() == back() exactly
  std::size_t repeatedPieces = 0;    // pieces dropped because an identical piece came earlier
  std::size_t degeneratePieces = 0;  // closed pieces with fewer than three corners, dropped
};

// Joins pieces end to start (or end to end, reversing the next piece) wherever their ends are the
// same place, -180 and 180 included, until every ring closes. A piece identical to an earlier one
// (same vertices, either direction) is dropped. Throws std::runtime_error when a ring cannot be
// closed, naming the place where it stops: shoreline pieces always form closed rings, so an open
// end means the input is not what GMT writes.
RingAssembly assembleRings(const std::vector<Polyline>& pieces);

}  // namespace mapdata
