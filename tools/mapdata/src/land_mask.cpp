#include "land_mask.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace mapdata {
namespace {

constexpr std::uint64_t kArcSecondsRound = 360ull * 3600ull;
constexpr std::uint64_t kArcSecondsPole = 180ull * 3600ull;

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t getLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool coversGlobe(std::uint64_t columns, std::uint64_t rows, std::uint64_t cell) {
  return cell > 0 && columns * cell == kArcSecondsRound && rows * cell == kArcSecondsPole;
}

}  // namespace

std::uint8_t LandMask::at(double lat, double lon) const {
  const double cellDeg = cellArcSeconds / 3600.0;
  lon = std::fmod(lon + 180.0, 360.0);
  if (lon < 0) lon += 360.0;
  const auto column =
      std::min<std::uint32_t>(static_cast<std::uint32_t>(lon / cellDeg), columns - 1);
  const double fromNorth = std::clamp(90.0 - lat, 0.0, 180.0);
  const auto row =
      std::min<std::uint32_t>(static_cast<std::uint32_t>(fromNorth / cellDeg), rows - 1);
  return levels[static_cast<std::size_t>(row) * columns + column];
}

std::vector<std::uint8_t> encodeMask(const std::vector<std::uint8_t>& cells, std::uint32_t columns,
                                     std::uint32_t rows, std::uint32_t cellArcSeconds) {
  if (!coversGlobe(columns, rows, cellArcSeconds))
    throw std::invalid_argument("mask of " + std::to_string(columns) + " x " +
                                std::to_string(rows) + " cells of " +
                                std::to_string(cellArcSeconds) + "\" does not cover the globe");
  if (cells.size() != static_cast<std::size_t>(columns) * rows)
    throw std::invalid_argument("mask has " + std::to_string(cells.size()) + " cells, expected " +
                                std::to_string(static_cast<std::size_t>(columns) * rows));
  if (std::any_of(cells.begin(), cells.end(), [](std::uint8_t v) { return v > kMaxMaskLevel; }))
    throw std::invalid_argument("mask cell value above 4");
  std::vector<std::uint8_t> out(kMaskMagic, kMaskMagic + sizeof kMaskMagic);
  putLe32(out, columns);
  putLe32(out, rows);
  putLe32(out, cellArcSeconds);
  putLe32(out, 0);
  out.insert(out.end(), cells.begin(), cells.end());
  return out;
}

LandMask decodeMask(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < kMaskHeaderBytes || std::memcmp(bytes.data(), kMaskMagic, 8) != 0)
    throw std::runtime_error("not a LANDMASK file");
  LandMask mask;
  mask.columns = getLe32(bytes.data() + 8);
  mask.rows = getLe32(bytes.data() + 12);
  mask.cellArcSeconds = getLe32(bytes.data() + 16);
  if (!coversGlobe(mask.columns, mask.rows, mask.cellArcSeconds))
    throw std::runtime_error("LANDMASK header: grid does not cover the globe");
  const std::uint64_t cells = static_cast<std::uint64_t>(mask.columns) * mask.rows;
  if (bytes.size() - kMaskHeaderBytes != cells)
    throw std::runtime_error("LANDMASK: " + std::to_string(bytes.size() - kMaskHeaderBytes) +
                             " cell bytes, header says " + std::to_string(cells));
  mask.levels.assign(bytes.begin() + kMaskHeaderBytes, bytes.end());
  if (std::any_of(mask.levels.begin(), mask.levels.end(),
                  [](std::uint8_t v) { return v > kMaxMaskLevel; }))
    throw std::runtime_error("LANDMASK: cell value above 4");
  return mask;
}

}  // namespace mapdata
