#include "core/spot_fields.hpp"

#include "core/call_sign.hpp"
#include "core/modes.hpp"
#include "core/split.hpp"

namespace orbelle::station {

std::optional<AddSpotFields> addSpotFields(const DxSpot& spot, const CtyDat& cty) {
  const std::optional<CtyLocation> dx = cty.locate(spot.call);
  if (!dx) return std::nullopt;

  AddSpotFields f;
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
  }
  f.SpotFreqTX = splitTransmitKHz(spot.frequencyKHz, spot.comment).value_or(0.0);
  return f;
}

}  // namespace orbelle::station
