#pragma once

// The azimuthal equidistant projection run backwards: the place on the Earth shown at a point of
// the map plane (statute miles, x east and y north of the station). A point d miles out at
// bearing β = atan2(x, y) lies d / (60 × 1.1512) degrees of arc from the station along the great
// circle leaving it at β. Points beyond the antipode (12432.96 miles) show no place. Double
// precision throughout; positions agree with ProjectPoint's to about 1e-9 degree.

#include <optional>

#include "geometry/projection.hpp"

namespace orbelle::geo {

// A place as a unit vector from the Earth's centre: x towards (0°N, 0°E), y towards (0°N, 90°E),
// z towards the north pole.
struct EarthDirection {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

struct GeoPosition {
  double lat = 0.0;  // degrees north, −90 .. 90
  double lon = 0.0;  // degrees east, −180 .. 180
};

// The unit vector of (lat, lon) in degrees.
EarthDirection directionOf(double lat, double lon);

class PlaneInverse {
 public:
  // The station (latHere, lonHere) in degrees, as the map is centred on it.
  PlaneInverse(double latHere, double lonHere);

  // The place shown at map point p; nothing beyond the antipode or for a point that is not
  // finite. At a pole as station, bearings count from the station's meridian, as the projection
  // counts them.
  std::optional<EarthDirection> direction(MapPoint p) const;
  std::optional<GeoPosition> position(MapPoint p) const;
  // The place at map point p also beyond the antipode, continuing along the same great circle
  // (a whole-Earth map's corners lie there): for code that needs a place at every pixel.
  GeoPosition positionOnCircle(MapPoint p) const noexcept;

 private:
  EarthDirection up_;     // the station
  EarthDirection north_;  // unit vector towards north along the station's meridian
  EarthDirection east_;   // unit vector towards east

  EarthDirection alongCircle(MapPoint p, double miles) const noexcept;
};

}  // namespace orbelle::geo
