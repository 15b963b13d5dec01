// Merging line features (borders, rivers) into the fewest polylines that draw the same segments.
#pragma once

#include <cstddef>
#include <vector>

#include "minute_grid.hpp"

namespace mapdata {

struct Network {
  std::vector<MinuteLine> lines;
  std::size_t repeatedSegments = 0;  // segments drawn more than once in the input, kept once
};

// Collects the distinct segments of all lines (a segment and its reverse are one segment; -180
// and 180 are one meridian), then walks them into polylines that run from one end or junction
// (a place where other than two segments meet) to the next; loops without a junction become
// closed polylines. Every distinct segment appears in exactly one output line, and no two output
// lines could be joined end to end without passing a junction. The order is deterministic: it
// follows the order in which places first appear in the input.
Network buildNetwork(const std::vector<MinuteLine>& lines);

}  // namespace mapdata
