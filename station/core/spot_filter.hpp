#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/spot_fields.hpp"

// The operator's choice of spots: by band, by mode, by the continent of the spotted station and
// by the continent of the spotter. An empty list lets every value through; a spot whose value is
// not known (outside every band, a spotter cty.dat cannot place) does not pass a list.

namespace orbelle::station {

inline constexpr std::array<std::string_view, 7> kContinents{"AF", "AN", "AS", "EU",
                                                             "NA", "OC", "SA"};

struct SpotFilter {
  std::vector<std::string> bands;  // band names as the band table has them: "20m", "70cm"
  std::vector<std::string> modes;  // upper case; "SSB" also takes USB and LSB
  std::vector<std::string> dxContinents;
  std::vector<std::string> spotterContinents;
};

// "" when `spot` passes, else why it does not ("band 40m not chosen").
std::string filterRejection(const SpotFilter& filter, const PlacedSpot& spot);

}  // namespace orbelle::station
