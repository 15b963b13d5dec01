#pragma once

// What a mouse press on a marker asks of the host: the rotor heading towards the spotted
// station (spot marker) or the spotter (spotter marker), and the rig setting of the spot.

#include <string>

#include "spots/spot_row.hpp"

namespace orbelle::spots {

enum class MarkerKind { Spot, Spotter };

// The heading for a press with `button` (the codes of plane/pointer.hpp) on a marker of `row`,
// seen from the station (latHere, lonHere): the bearing of DistanceBearing in degrees (short
// path, [0, 360]); with the right button that bearing plus 180, folded with Normalize360 into
// (0, 360] (long path: due south gives 360, not 0).
double pressHeading(double latHere, double lonHere, const SpotRow& row, MarkerKind kind,
                    int button);

// The spot's own rig values (columns 6, 19 and 7), also for a press on the spotter marker.
struct RigRequest {
  double SpotFreq = 0.0;
  double SpotFreqTX = 0.0;
  std::string Mode;
};
RigRequest rigRequestOf(const SpotRow& row);

}  // namespace orbelle::spots
