#pragma once

// Which map segments are drawn. On the azimuthal equidistant map the station's antipode is the
// whole outer circle: a segment whose two ends lie on either side of the antipode projects to a
// straight line across the map, and a segment that passes close to it is stretched around the
// rim. Such a segment is not drawn; the pen only moves to its end. The outline reader and the
// gray line apply the same rule, so both leave the same parts of the rim undrawn.
//
// A segment counts as stretched when its projected length on the map exceeds its true length
// on the globe by more than kMaxStretchExcessMiles. Everywhere except within a few dozen miles
// of the antipode (the outermost pixel ring of a whole-Earth map) a segment of the outline data
// (at most about 7 miles long) stays far below that excess; a segment through the antipode
// projects to nearly the map's full diameter (about 24,866 miles minus its true length).

#include "geometry/projection.hpp"

namespace orbelle::render {

// Largest excess of projected over true length, in statute miles, of a segment that is drawn.
inline constexpr double kMaxStretchExcessMiles = 2000.0;

// projectedMiles: length of the straight segment on the map plane (miles); trueMiles: great-
// circle distance between its two ends on the globe (miles, ≥ 0). True when the segment must not
// be drawn. NaN in either value gives false.
constexpr bool isStretchedSegment(double projectedMiles, double trueMiles) noexcept {
  return projectedMiles - trueMiles > kMaxStretchExcessMiles;
}

// The same rule for two projected ends a and b (map miles) and their true distance. Only
// segments longer on the map than kMaxStretchExcessMiles can be stretched, so a caller may skip
// computing trueMiles when mayBeStretched(a, b) is false.
bool mayBeStretched(geo::MapPoint a, geo::MapPoint b) noexcept;
bool isStretchedSegment(geo::MapPoint a, geo::MapPoint b, double trueMiles) noexcept;

// Great-circle distance in miles between two positions in degrees, by DistanceBearing.
double trueSegmentMiles(double lat1, double lon1, double lat2, double lon2);

// The whole rule for a segment from (lat1, lon1) to (lat2, lon2) whose projected ends are a and
// b: true when it must not be drawn. Computes the true distance only when it can matter.
bool isStretchedSegment(geo::MapPoint a, geo::MapPoint b, double lat1, double lon1, double lat2,
                        double lon2);

}  // namespace orbelle::render
