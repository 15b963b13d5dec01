#pragma once

// The two sample spots of the diagnostic testspot: the same spotted station reported twice,
// first with its spotter in the south-east of the USA, then with a spotter near the prime
// meridian and a split transmit frequency. The call signs are made up.

#include <array>

#include "spots/spot_row.hpp"

namespace orbelle::spots {

inline constexpr const char* kSampleSpotCall = "G9XQZ";
inline constexpr const char* kSampleSpotterCall = "W4QZX";

std::array<SpotArgs, 2> sampleSpots();

}  // namespace orbelle::spots
