#pragma once

#include <optional>

// Headings from the map to the azimuths a rotator takes. The map sends whole degrees clockwise
// from true north in (0, 360], north as 360.

namespace orbelle::station {

enum class RotatorRange {
  From0To360,         // azimuths in [0, 360): north is 0 (rotators with their stop at north)
  FromMinus180To180,  // azimuths in [-180, 180): south is -180 (rotators with their stop at south)
};

// The azimuth to send for `heading` degrees: rounded to a tenth of a degree (ties to even), then
// folded into the rotator's range. nullopt for NaN and infinities.
std::optional<double> rotatorAzimuth(double heading, RotatorRange range);

}  // namespace orbelle::station
