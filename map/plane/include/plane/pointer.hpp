#pragma once

// Bearing and distance of a point of the map under the pointer, and the rotor heading a mouse
// press asks for. The map is azimuthal and
// equidistant around the station, so both follow from the point's plane position alone. Plane
// positions are statute miles, x east and y north of the station, in single precision.

#include <cstdint>
#include <string>

namespace orbelle::geo {

struct PlanePosition {
  float x = 0.0f;
  float y = 0.0f;
};

// The surface's extent as the pointer handlers need it: its inner size in twips and the map
// radius it is scaled to (it spans −radius .. +radius miles left to right, +radius .. −radius
// top to bottom).
struct PointerScale {
  double innerWidthTwips = 0.0;
  double innerHeightTwips = 0.0;
  double radius = 0.0;
};

// Plane position of an offset (twips) from the map image's top-left corner:
// x = offset × (2 × radius / inner width) − radius, y = radius − offset × (2 × radius / inner
// height).
PlanePosition planeOfPointer(double offsetXTwips, double offsetYTwips, const PointerScale& scale);

// Compass heading of a plane point in whole degrees 1 .. 360: Atan2(x, y) in degrees, rounded
// down, folded with Normalize360. North is 360, never 0.
std::int32_t headingOf(PlanePosition p);

// Mouse button codes as the window reports them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// The heading a press with `button` asks the rotor for: the right button (code 2) asks for the
// long path, the heading turned by 180 degrees and folded into (0, 360] with Normalize360 (due
// south gives 360, not 0); every other button keeps the short path, unchanged.
double headingForButton(double heading, int button);

// The rotor heading of a press on the map: headingOf(p), for the button as above.
std::int32_t rotorHeading(PlanePosition p, int button);

struct Readout {
  std::int32_t heading = 0;  // whole degrees 1 .. 360
  std::int64_t miles = 0;    // distance rounded down
  std::int64_t km = 0;       // distance × 1.60933 rounded down
};

// The readout of a plane point: heading, and the single-precision distance √(x² + y²) in whole
// miles and whole kilometres.
Readout readoutOf(PlanePosition p);

// The 6-character Maidenhead locator of the place shown at plane point p on a map centred on
// (latHere, lonHere) degrees; empty beyond the antipode, where the map shows no place.
std::string locatorOf(PlanePosition p, double latHere, double lonHere);

}  // namespace orbelle::geo
