#pragma once

#include <cstdint>
#include <string_view>

// Amateur bands by frequency, and the colour a spot on each band gets on the map.
// Frequencies are in kilohertz, the unit DX clusters use. Band edges are the widest edges used in
// any of the three ITU regions, both ends included.

namespace orbelle::station {

// A colour packed as the map takes it: red + 256 × green + 65536 × blue.
constexpr std::int32_t rgb(int red, int green, int blue) {
  return red + 256 * green + 65536 * blue;
}

struct Band {
  std::string_view name;  // "20m", "70cm"
  double lowKHz;
  double highKHz;
  std::int32_t color;
};

// Colour of a spot outside every band (a typo in a spot, a broadcast station).
inline constexpr std::int32_t kOutOfBandColor = rgb(0, 0, 0);

// The band that holds `kHz`, or nullptr. NaN and infinities are in no band.
const Band* bandOf(double kHz);

// The band called `name` ("20m", "70CM": without regard to case), or nullptr.
const Band* bandNamed(std::string_view name);

// The colour of a spot on `kHz`: its band's colour, or kOutOfBandColor.
std::int32_t bandColor(double kHz);

}  // namespace orbelle::station
