#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/band.hpp"
#include "core/cty_dat.hpp"
#include "core/dx_spot_line.hpp"

// The fifteen values the map's AddSpot takes, in its order, made from a cluster spot, and what the
// station's filters and its store of recent spots need besides.

namespace orbelle::station {

// The spotter marker's colour: the light grey the map uses for spotters.
inline constexpr double kSpotterColor = rgb(192, 192, 192);
// SpotByLat for a spotter that cannot be placed: below -90, so the map hides its marker and line.
inline constexpr double kUnknownSpotterLatitude = -99.0;

struct AddSpotFields {
  double LatDeg = 0.0;
  double LonDeg = 0.0;
  std::int32_t Color = 0;
  double SpotFreq = 0.0;  // kHz
  std::string Mode;
  std::string SpotCall;
  std::string SpotTime;  // "HHMMZ" as the cluster sent it
  std::string SpotBy;
  std::string SpotComment;
  std::string SpotLoc;
  double SpotByLat = kUnknownSpotterLatitude;
  double SpotByLon = 0.0;
  double SpotByColor = kSpotterColor;
  std::string SpotByLoc;
  double SpotFreqTX = 0.0;  // kHz; 0 when the spot is not split
};

struct PlacedSpot {
  AddSpotFields fields;
  std::string dxContinent;       // "EU", ...; "" when not known
  std::string spotterContinent;  // "" when the spotter cannot be placed
  std::int64_t madeAtMs = 0;     // when the spot was made, ms since the epoch (see spotMadeAt)
};

// The spot heard at `arrivalMs`: the spotted station placed and named by its cty.dat entity, the
// colour of its band, its mode (spotMode), the split transmit frequency from its comment. The
// spotter is placed by its own entity when it has one; otherwise SpotByLat is
// kUnknownSpotterLatitude and SpotByLoc "". nullopt when the spotted station cannot be placed.
std::optional<PlacedSpot> placeSpot(const DxSpot& spot, const CtyDat& cty, std::int64_t arrivalMs);

}  // namespace orbelle::station
