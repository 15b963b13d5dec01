#pragma once

// The azimuthal equidistant projection centred on the station. The map plane is in statute
// miles with the station at the origin, x towards the east (right), y towards the north (up).
// A position at distance d (miles) and bearing β (degrees clockwise from north) lies at
// x = d·sin β, y = d·cos β. Nothing is clipped: the antipode lies 12432.96 miles out.

namespace orbelle::geo {

struct MapPoint {
  double x = 0.0;  // miles east of the station
  double y = 0.0;  // miles north of the station
};

// Position (lat, lon) in degrees as seen from the station (latHere, lonHere) in degrees, through
// DistanceBearing and the literal sine and cosine of the bearing. The station itself gives (0, 0).
MapPoint ProjectPoint(double latHere, double lonHere, double lat, double lon);

// The same projection for one fixed station, reorganised for speed: the station's sine, cosine
// and normalised longitude are computed once; per vertex the arc is computed by the very same
// operations as DistanceBearing and the bearing's sine and cosine are used directly instead of
// an arcsine followed by a sine and cosine. Every result lies within 1e-6 mile of ProjectPoint
// (far closer in practice), for every input ProjectPoint accepts.
//
// The object is immutable after construction: project() may be called from several threads at
// once.
class StationProjector {
 public:
  StationProjector(double latHere, double lonHere);

  double latHere() const noexcept { return latHere_; }
  double lonHere() const noexcept { return lonHere_; }

  // (lat, lon) in degrees to the map plane in miles.
  MapPoint project(double lat, double lon) const noexcept;

 private:
  // The per-vertex part once the target's trigonometry is known.
  MapPoint projectTerms(double lat, double dlon, double sinLat2, double cosLat2, double sinDl,
                        double cosDl) const noexcept;

  double latHere_;
  double lonHere_;
  double lonHereNorm_;  // lonHere with 360 added when negative
  double sinLat1_;
  double cosLat1_;
};

}  // namespace orbelle::geo
