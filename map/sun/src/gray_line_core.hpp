#pragma once

// GrayLineRange for a block of points at once. The per-point operations are exactly those of
// one call; running each step over the whole block lets the processor overlap the independent
// trigonometry of neighbouring points instead of waiting on one point's chain of calls.

#include "sun/gray_line.hpp"

namespace orbelle::detail {

// Largest block handled in one call.
inline constexpr int kGrayBlock = 128;

// The parts that depend only on the station.
struct GrayStation {
  float lat1 = 0;  // radians, single precision
  float lon1 = 0;
  double sinLat1 = 0;
  double cosLat1 = 0;
};

GrayStation grayStation(float GrayHomeLat, float GrayHomeLon);

// distance[i], bearing[i] = GrayLineRange(Longitude[i], Latitude[i]) for i < count ≤ kGrayBlock.
void grayLineRangeBlock(const GrayStation& station, const float* Longitude, const float* Latitude,
                        int count, float* distance, float* bearing);

}  // namespace orbelle::detail
