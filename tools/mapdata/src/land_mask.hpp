// The land/water mask grid used to score rendered maps.
//
// File layout, little-endian:
//   0   8 bytes  "LANDMASK"
//   8   uint32   columns (west to east)
//   12  uint32   rows (north to south)
//   16  uint32   cell size in arc-seconds (columns * cell = 360 degrees, rows * cell = 180)
//   20  uint32   0 (reserved)
//   24  rows * columns bytes, row 0 northernmost, column 0 westernmost. The cell in row r and
//       column c covers latitudes 90 - (r + 1) * cell .. 90 - r * cell and longitudes
//       -180 + c * cell .. -180 + (c + 1) * cell; its value is the shoreline level at the cell's
//       centre: 0 ocean, 1 land, 2 lake, 3 island in a lake, 4 pond in such an island
//       (even = water, odd = land).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mapdata {

constexpr char kMaskMagic[8] = {'L', 'A', 'N', 'D', 'M', 'A', 'S', 'K'};
constexpr std::size_t kMaskHeaderBytes = 24;
constexpr std::uint8_t kMaxMaskLevel = 4;

struct LandMask {
  std::uint32_t columns = 0;
  std::uint32_t rows = 0;
  std::uint32_t cellArcSeconds = 0;
  std::vector<std::uint8_t> levels;  // rows * columns, row-major from the north-west corner

  // Level at a position in degrees; latitude is clamped into the grid, longitude folded.
  std::uint8_t at(double lat, double lon) const;
};

// Wraps raw row-major cell values in the file layout. Throws std::invalid_argument when the
// sizes do not cover the globe exactly or a value is above 4.
std::vector<std::uint8_t> encodeMask(const std::vector<std::uint8_t>& cells, std::uint32_t columns,
                                     std::uint32_t rows, std::uint32_t cellArcSeconds);

// Parses and validates a mask file; throws std::runtime_error naming the fault.
LandMask decodeMask(const std::vector<std::uint8_t>& bytes);

}  // namespace mapdata
