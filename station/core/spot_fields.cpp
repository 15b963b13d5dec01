#include "core/spot_fields.hpp"

#include "core/call_sign.hpp"
#include "core/modes.hpp"
#include "core/split.hpp"
#include "core/spot_time.hpp"

namespace orbelle::station {

std::optional<PlacedSpot> placeSpot(const DxSpot& spot, const CtyDat& cty, std::int64_t arrivalMs) {
  const std::optional<CtyLocation> dx = cty.locate(spot.call);
  if (!dx) return std::nullopt;

  PlacedSpot placed;
  AddSpotFields& f = placed.fields;
  f.LatDeg = dx->latitude;
  f.LonDeg = dx->longitude;
  f.Color = bandColor(spot.frequencyKHz);
  f.SpotFreq = spot.frequencyKHz;
  f.Mode = spotMode(spot.frequencyKHz, spot.comment);
  f.SpotCall = spot.call;
  f.SpotTime = spot.time;
  f.SpotBy = spot.spotter;
  f.SpotComment = spot.comment;
  f.SpotLoc = dx->entity->name;
  if (const std::optional<CtyLocation> by = cty.locate(withoutNodeSuffix(spot.spotter))) {
    f.SpotByLat = by->latitude;
    f.SpotByLon = by->longitude;
    f.SpotByLoc = by->entity->name;
    placed.spotterContinent = by->continent;
  }
  f.SpotFreqTX = splitTransmitKHz(spot.frequencyKHz, spot.comment).value_or(0.0);
  placed.dxContinent = dx->continent;
  // The parser only passes valid times; a spot without one counts as made on arrival.
  placed.madeAtMs = arrivalMs;
  if (const std::optional<int> minutes = minutesOfClusterTime(spot.time)) {
    placed.madeAtMs = spotMadeAt(arrivalMs, *minutes * kMsPerMinute, kMsPerMinute);
  }
  return placed;
}

}  // namespace orbelle::station
