#pragma once

// The great-circle routine of the map program. Positions are latitude and longitude in decimal
// degrees, north and east positive; latitudes in [−90, 90], longitudes in [−180, 180] (other
// finite values are computed by the same steps; the east/west decision then follows the folded
// longitude difference). Distances are statute miles (kMilesPerDegree per degree of arc) and
// kilometres (miles × kKmPerMile). Bearings are degrees clockwise from true north.

namespace orbelle::geo {

struct DistanceBearingResult {
  double miles = 0.0;    // great-circle distance in statute miles, 0 .. 12432.96
  double km = 0.0;       // the same distance in kilometres, miles × 1.60933
  double bearing = 0.0;  // initial bearing from position 1 towards position 2, degrees in [0, 360]
};

// Distance and initial bearing from position 1 (the station, for every caller) to position 2.
//
// - Exactly equal positions (compared before any normalisation) give 0, 0, 0.
// - Negative longitudes get 360 added and their difference is folded into [−180, 180]: a station
//   at 179°E and a target at 179°W are 2° apart and the target lies east; −180 and 180 are the
//   same meridian.
// - The arc comes from its cosine v: v ≥ 1 (rounding) gives arc 0; v ≤ −1 gives 180°.
// - Bearing: 90 or 270 when the bearing's sine reaches ±1 (east or west); 0 or 180 when the
//   sine is 0 (180 when the target's latitude is lower, else 0). Otherwise the arcsine of the
//   sine fixes the angle from the meridian and the sign of cos φ1·sin φ2 − sin φ1·cos φ2·cos Δλ
//   (the northward component of the initial direction) picks the northern or southern half, so
//   targets near the station or its antipode get their true quadrant.
// - A pole as station (north is undefined there): the bearing is the limit for a station that
//   approaches the pole along its own meridian lon1; from the north pole a target Δλ degrees
//   east of that meridian lies at bearing 180 − Δλ.
// - The antipode is 12432.96 miles away; its bearing is whatever rounding leaves of the sine
//   (0 or 180 when it comes out exactly 0), always a finite value in [0, 360].
// - NaN in any input gives NaN results; nothing throws.
DistanceBearingResult DistanceBearing(double lat1, double lon1, double lat2, double lon2);

}  // namespace orbelle::geo
