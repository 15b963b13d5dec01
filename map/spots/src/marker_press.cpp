#include "spots/marker_press.hpp"

#include "geometry/great_circle.hpp"
#include "plane/pointer.hpp"

namespace orbelle::spots {

double pressHeading(double latHere, double lonHere, const SpotRow& row, MarkerKind kind,
                    int button) {
  const bool spot = kind == MarkerKind::Spot;
  const double lat = spot ? row.LatDeg : row.SpotByLat;
  const double lon = spot ? row.LonDeg : row.SpotByLon;
  const double bearing = geo::DistanceBearing(latHere, lonHere, lat, lon).bearing;
  return geo::headingForButton(bearing, button);
}

RigRequest rigRequestOf(const SpotRow& row) { return {row.SpotFreq, row.SpotFreqTX, row.Mode}; }

}  // namespace orbelle::spots
