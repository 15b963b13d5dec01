#include "core/spot_filter.hpp"

#include <algorithm>

#include "core/band.hpp"
#include "core/text.hpp"

namespace orbelle::station {
namespace {

bool takes(const std::vector<std::string>& list, std::string_view value) {
  return list.empty() || std::find(list.begin(), list.end(), value) != list.end();
}

std::string shown(std::string_view value) {
  return value.empty() ? std::string("unknown") : std::string(value);
}

}  // namespace

std::string filterRejection(const SpotFilter& filter, const PlacedSpot& spot) {
  const Band* band = bandOf(spot.fields.SpotFreq);
  const std::string_view bandName = band ? band->name : std::string_view();
  if (!takes(filter.bands, bandName)) return "band " + shown(bandName) + " not chosen";
  const std::string mode = upperAscii(spot.fields.Mode);
  const bool sideband = mode == "USB" || mode == "LSB";
  if (!takes(filter.modes, mode) && !(sideband && takes(filter.modes, "SSB"))) {
    return "mode " + shown(mode) + " not chosen";
  }
  if (!takes(filter.dxContinents, spot.dxContinent)) {
    return "DX continent " + shown(spot.dxContinent) + " not chosen";
  }
  if (!takes(filter.spotterContinents, spot.spotterContinent)) {
    return "spotter continent " + shown(spot.spotterContinent) + " not chosen";
  }
  return {};
}

}  // namespace orbelle::station
