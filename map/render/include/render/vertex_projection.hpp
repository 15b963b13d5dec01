#pragma once

// Projection of outline records onto the map plane, rounded to whole miles as the outline
// reader draws them.

#include <cstdint>
#include <span>

#include "geometry/rounding.hpp"
#include "render/outline_projector.hpp"
#include "render/outline_records.hpp"

namespace orbelle::render {

// A projected vertex in whole map miles (x east, y north of the station).
struct MapVertex {
  std::int16_t x = 0;
  std::int16_t y = 0;
  friend bool operator==(const MapVertex&, const MapVertex&) = default;
};

// Nearest integer mile, ties to even, saturated to 16 bits, NaN to 0: the same result as
// geo::toInt16HalfEven, computed with fewer operations (this runs for every vertex).
inline std::int16_t roundMiles(double value) noexcept {
  if (!(value > -32768.5 && value < 32767.5)) [[unlikely]]
    return geo::toInt16HalfEven(value);
  return static_cast<std::int16_t>(geo::roundHalfEvenSmall(value));
}

// Below this many records one thread does all the work; starting a second costs more.
inline constexpr std::size_t kParallelProjectionMinRecords = 20000;

// out[i] = the record's position projected by projector, each coordinate
// rounded to the nearest integer mile, ties to even. out must be as long as records. The work is
// split between the calling thread and at most threads − 1 others; the result does not depend on
// the split.
void projectRecords(std::span<const OutlineRecord> records, const OutlineProjector& projector,
                    std::span<MapVertex> out, unsigned threads = 2);

}  // namespace orbelle::render
