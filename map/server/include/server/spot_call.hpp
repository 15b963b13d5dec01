#pragma once

// AddSpot as both the server objects and the window object take it from the bus: fifteen
// arguments, converted to their declared types, passed on to the window unchanged and in order.

#include <QVariantList>

namespace orbelle::shell {
class Form1;
}

namespace orbelle::server {

// LatDeg, LonDeg, Color, SpotFreq, Mode, SpotCall, SpotTime, SpotBy, SpotComment, SpotLoc,
// SpotByLat, SpotByLon, SpotByColor, SpotByLoc, SpotFreqTX.
inline constexpr const char* kAddSpotSignature = "ddidssssssdddsd";

void addSpot(shell::Form1& form, const QVariantList& args);

}  // namespace orbelle::server
