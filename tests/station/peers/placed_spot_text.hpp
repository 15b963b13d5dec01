#pragma once

#include <iomanip>
#include <sstream>
#include <string>

#include "core/spot_fields.hpp"

namespace orbelle::station::test {

// Every value of a placed spot on one line, in AddSpot's order, for one comparison.
inline std::string placedSpotText(const PlacedSpot& p) {
  const AddSpotFields& f = p.fields;
  std::ostringstream out;
  out << std::setprecision(10);
  out << f.LatDeg << " " << f.LonDeg << " " << f.Color << " " << f.SpotFreq << " " << f.Mode << " "
      << f.SpotCall << " " << f.SpotTime << " " << f.SpotBy << " [" << f.SpotComment << "] "
      << f.SpotLoc << " | " << f.SpotByLat << " " << f.SpotByLon << " " << f.SpotByColor << " "
      << f.SpotByLoc << " | " << f.SpotFreqTX << " " << p.dxContinent << " " << p.spotterContinent
      << " " << p.madeAtMs;
  return out.str();
}

}  // namespace orbelle::station::test
