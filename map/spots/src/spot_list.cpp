#include "spots/spot_list.hpp"

#include <algorithm>

#include "spots/hover_text.hpp"
#include "spots/marker_colors.hpp"

namespace orbelle::spots {

std::int16_t boundedMaxSpots(std::int16_t maxSpots) noexcept {
  return std::clamp(maxSpots, kMinMaxSpots, kMaxMaxSpots);
}

void SpotList::ClearSpots(std::int16_t maxSpots) {
  slots_.assign(static_cast<std::size_t>(boundedMaxSpots(maxSpots)), Slot{});
  nextSpot_ = 1;
  ++generation_;
}

int SpotList::AddSpot(double latHere, double lonHere, const SpotArgs& spot,
                      const std::string& decimalSeparator, std::int16_t maxSpotsIfNone) {
  if (slots_.empty()) ClearSpots(maxSpotsIfNone);
  ++generation_;
  const int i = nextSpot_;
  Slot& slot = slots_[static_cast<std::size_t>(i - 1)];

  SpotRow& row = slot.row;
  row.LatDeg = spot.LatDeg;
  row.LonDeg = spot.LonDeg;
  row.Color = spot.Color;
  row.SpotFreq = spot.SpotFreq;
  row.Mode = spot.Mode;
  row.SpotBy = spot.SpotBy;
  row.SpotByLat = spot.SpotByLat;
  row.SpotByLon = spot.SpotByLon;
  row.SpotLoc = spot.SpotLoc;
  row.SpotFreqTX = spot.SpotFreqTX;
  // Unrounded, and also for a spotter without a position (it is then simply not shown).
  row.spot = geo::ProjectPoint(latHere, lonHere, spot.LatDeg, spot.LonDeg);
  row.spotter = geo::ProjectPoint(latHere, lonHere, spot.SpotByLat, spot.SpotByLon);

  slot.markers.spotText = spotHoverText(spot, decimalSeparator);
  slot.markers.spotColor = markerRgb(row.Color);
  slot.markers.spotterColor = markerRgb(colorToInt32(spot.SpotByColor));
  slot.markers.spotterText = spotterHoverText(spot);
  slot.markers.call = std::string(trimBlanks(spot.SpotCall));
  slot.filled = true;

  nextSpot_ = nextSpot_ >= MaxSpots() ? 1 : static_cast<std::int16_t>(nextSpot_ + 1);
  return i;
}

void SpotList::reproject(double latHere, double lonHere) {
  for (Slot& slot : slots_) {
    if (!slot.filled) continue;
    slot.row.spot = geo::ProjectPoint(latHere, lonHere, slot.row.LatDeg, slot.row.LonDeg);
    slot.row.spotter = geo::ProjectPoint(latHere, lonHere, slot.row.SpotByLat, slot.row.SpotByLon);
  }
}

bool SpotList::answerRig(int i, std::uint64_t generation, const RigRequest& answer) {
  if (generation != generation_ || i < 1 || i > MaxSpots()) return false;
  SpotRow& row = slots_[static_cast<std::size_t>(i - 1)].row;
  row.SpotFreq = answer.SpotFreq;
  row.SpotFreqTX = answer.SpotFreqTX;
  row.Mode = answer.Mode;
  return true;
}

}  // namespace orbelle::spots
