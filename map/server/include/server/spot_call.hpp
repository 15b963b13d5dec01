#pragma once

// AddSpot as both the server objects and the window object take it from the bus: fifteen
// arguments, converted to their declared types, handed to the model unchanged and in order.

#include <QVariantList>

#include "spots/spot_row.hpp"

namespace orbelle::server {

// LatDeg, LonDeg, Color, SpotFreq, Mode, SpotCall, SpotTime, SpotBy, SpotComment, SpotLoc,
// SpotByLat, SpotByLon, SpotByColor, SpotByLoc, SpotFreqTX.
inline constexpr const char* kAddSpotSignature = "ddidssssssdddsd";

// The spot of fifteen arguments already converted to the signature's types; texts as UTF-8.
spots::SpotArgs spotArgsOf(const QVariantList& args);

}  // namespace orbelle::server
