// Whole-file checks of a decoded outline file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "outline_records.hpp"

namespace mapdata {

struct OutlineStats {
  std::size_t records = 0;
  std::size_t polylines = 0;
  std::size_t vertices = 0;
  std::size_t closedPolylines = 0;
  double longestSegmentDeg = 0.0;
  std::vector<std::string> problems;  // empty when the file is sound
};

// Adds to the decoder's problems: with ringsExpected, every polyline that is not a closed ring;
// without it, every polyline end where exactly one other segment continues (two polylines that
// should have been one); and every segment longer than maxSegmentDeg degrees of arc.
OutlineStats checkOutline(const DecodedOutline& decoded, bool ringsExpected, double maxSegmentDeg);

}  // namespace mapdata
