// Area of a closed ring on the sphere, for sorting shoreline rings by size.
#pragma once

#include "geo.hpp"

namespace mapdata {

constexpr double kEarthRadiusKm = 6371.0;  // mean radius; sizes are compared, not surveyed

// Area in square kilometres of the smaller of the two regions a closed ring bounds, with edges
// taken as straight in longitude and the sine of latitude (exact enough for the short edges of
// shoreline data). A ring that winds round a pole bounds the polar cap on its side.
double ringAreaKm2(const Polyline& ring);

}  // namespace mapdata
