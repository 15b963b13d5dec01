// The length of the river each polyline belongs to, for the map to tell large rivers from small
// ones at coarse scales. The data cut a river wherever it runs through a lake or reservoir (the
// lake file draws that stretch), and at every junction; a chain joins the pieces again: polylines
// that share an end, and polylines whose ends touch the shore of the same lake.
#pragma once

#include <cstdint>
#include <vector>

#include "minute_grid.hpp"

namespace mapdata {

// An end within this many minutes (in latitude and in longitude) of a lake ring's vertex
// touches that lake: rings are densified to 6-minute steps, so a river ending on the shore
// between two vertices is at most about 3 minutes from one of them.
constexpr int kLakeReachMinutes = 4;

// Per line, the total length of its chain in km along great circles on the sphere of
// sphere_area.hpp (double precision; the map compares it in whole 10 km).
std::vector<double> chainLengthsKm(const std::vector<MinuteLine>& lines,
                                   const std::vector<MinuteLine>& lakes);

}  // namespace mapdata
