#pragma once

// One row of the spot table SpotData and the arguments of AddSpot. Rows keep the table's column
// numbers in their comments; columns 8, 9, 11, 12 and 18 are not used. The spotted station's
// call sign, the time, the comment and the spotter's location are not stored in the row: they
// live only in the hover texts.

#include <cstdint>
#include <string>

#include "geometry/projection.hpp"
#include "spots/spot_constants.hpp"

namespace orbelle::spots {

// The fifteen values the host passes to AddSpot, in the host's order. Texts are UTF-8.
struct SpotArgs {
  double LatDeg = 0.0;       // spotted station, degrees north
  double LonDeg = 0.0;       // spotted station, degrees east
  std::int32_t Color = 0;    // spot marker colour, 24-bit RGB (red + 256 green + 65536 blue)
  double SpotFreq = 0.0;     // frequency in the host's unit, shown and passed back unchanged
  std::string Mode;          // operating mode
  std::string SpotCall;      // call sign of the spotted station
  std::string SpotTime;      // time as the host formats it
  std::string SpotBy;        // call sign of the spotter
  std::string SpotComment;   // comment
  std::string SpotLoc;       // location of the spotted station
  double SpotByLat = 0.0;    // spotter latitude; below −90 when the spotter has no position
  double SpotByLon = 0.0;    // spotter longitude
  double SpotByColor = 0.0;  // spotter marker colour, 24-bit RGB carried as a double
  std::string SpotByLoc;     // location of the spotter
  double SpotFreqTX = 0.0;   // transmit frequency (split), passed back unchanged
};

struct SpotRow {
  double LatDeg = 0.0;                   // 1
  double LonDeg = 0.0;                   // 2
  std::int32_t Color = kEmptySlotColor;  // 3: the colour as the host gave it; −1 when cleared
  geo::MapPoint spot;                    // 4, 5: miles east and north of the station
  double SpotFreq = 0.0;                 // 6
  std::string Mode;                      // 7
  std::string SpotBy;                    // 10
  double SpotByLat = 0.0;                // 13: below −90 when the spotter has no position
  double SpotByLon = 0.0;                // 14
  geo::MapPoint spotter;                 // 15, 16: miles east and north of the station
  std::string SpotLoc;                   // 17
  double SpotFreqTX = 0.0;               // 19
};

// The spotter has a position: column 13 ≥ −90 (NaN counts as unknown).
inline bool spotterKnown(const SpotRow& row) noexcept {
  return row.SpotByLat >= kSpotterKnownFromLatitude;
}

}  // namespace orbelle::spots
