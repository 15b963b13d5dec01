#pragma once

// The closed rings of the shoreline files (coast, island, lake) for tests that ask on which side
// of the shores a position lies. A position inside an odd number of rings is on land (a land
// ring, an island in a lake), inside an even number in water (the ocean, a lake, a pond).

#include <string>
#include <vector>

namespace orbelle::render::test {

struct RingVertex {
  double lat = 0.0;
  double lon = 0.0;
};
using Ring = std::vector<RingVertex>;

// The polylines of an outline file as rings (each polyline's vertices in order).
std::vector<Ring> readRings(const std::string& path);

class ShoreRings {
 public:
  // Reads coast.velapnt, island.pnt and lake.pnt from the folder.
  explicit ShoreRings(const std::string& mapDataFolder);

  // Number of rings that contain the position (counted by the crossings of the meridian from the
  // position to the north pole; no ring of the data encloses the north pole).
  int ringsAround(double lat, double lon) const;
  bool onLand(double lat, double lon) const { return ringsAround(lat, lon) % 2 == 1; }

  // Distance in miles (great circle, approximated per segment on a local plane) from the position
  // to the nearest ring vertex or segment.
  double milesToShore(double lat, double lon) const;

 private:
  struct Extent {
    double minLat = 0.0, maxLat = 0.0;
    double west = 0.0, east = 0.0;  // unwrapped longitudes along the ring
    bool aroundPole = false;        // the ring's longitudes cover the whole circle
    bool spans(double lon) const;
  };
  std::vector<Ring> rings_;
  std::vector<Extent> extents_;
};

}  // namespace orbelle::render::test
