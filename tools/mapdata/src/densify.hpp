// Inserting vertices into long segments so that they follow their true course on the globe.
#pragma once

#include "geo.hpp"

namespace mapdata {

// Angular distance between a and b along the great circle, in degrees (0..180).
double arcDegrees(LonLat a, LonLat b);

// Returns the polyline with every segment longer than maxStepDeg (degrees of arc, > 0) split
// into the fewest equal parts no longer than maxStepDeg. A segment whose two ends share a
// latitude is split along that parallel (borders drawn along parallels, such as 49 degrees N,
// stay on them); every other segment is split along its great circle. A segment crosses +-180
// the short way round. The original vertices are kept exactly; inserted longitudes lie in
// [-180, 180]. Antipodal ends have no single great circle: such a segment is left unsplit.
Polyline densify(const Polyline& line, double maxStepDeg);

}  // namespace mapdata
