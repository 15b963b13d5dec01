// Reader for the multi-segment text that `gmt coast -M` writes.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "geo.hpp"

namespace mapdata {

// One piece as GMT cuts it at its bin edges. level is the number after "Level" in the segment
// header (shoreline level, river class or border kind), 0 when the header names none.
struct Piece {
  int level = 0;
  Polyline points;
};

// Reads "> header" lines and "lon lat" lines; '#' lines and blank lines are skipped. Points
// before the first header form a piece of their own. Throws std::runtime_error naming the source
// and line for a line that is not two finite numbers, or for a position outside +-180 / +-90.
std::vector<Piece> readGmtSegments(std::istream& in, const std::string& sourceName);

}  // namespace mapdata
