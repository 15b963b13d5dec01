#include "land_mask.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace mapdata {
namespace {

// A 6 x 3 mask of 60-degree cells whose values show a swapped row or column.
const std::vector<std::uint8_t> kCells = {0, 1, 2, 3, 4, 1, 1, 0, 0, 0, 0, 2, 3, 3, 1, 1, 1, 4};
constexpr std::uint32_t kCell = 60 * 3600;

TEST(LandMask, RoundTripsAndLooksUpCellsFromTheNorthWest) {
  const auto bytes = encodeMask(kCells, 6, 3, kCell);
  ASSERT_EQ(bytes.size(), kMaskHeaderBytes + 18);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "LANDMASK");
  EXPECT_EQ(bytes[8], 6);
  EXPECT_EQ(bytes[12], 3);
  const LandMask mask = decodeMask(bytes);
  EXPECT_EQ(mask.levels, kCells);
  // North-west cell; row 0 columns 1 and 2; row 1 last column; south-east cell; 180 is column 0
  // and the south pole the last row; longitudes fold (241 is -119).
  for (const auto& [lat, lon, level] : {std::tuple{89.0, -179.0, 0},
                                        {89.0, -61.0, 1},
                                        {89.0, -59.0, 2},
                                        {0.5, 179.0, 2},
                                        {-89.0, 179.0, 4},
                                        {-90.0, 180.0, 3},
                                        {90.0, -180.0, 0},
                                        {89.0, 241.0, 1}}) {
    EXPECT_EQ(mask.at(lat, lon), level) << lat << " " << lon;
  }
}

TEST(LandMask, RefusesGridsThatDoNotCoverTheGlobeAndDamagedFiles) {
  auto bad = kCells;
  bad[5] = 5;
  for (const auto& [cells, columns, rows, cell] : {std::tuple{kCells, 6u, 3u, 3600u},
                                                   {kCells, 3u, 6u, kCell},
                                                   {std::vector<std::uint8_t>{0, 1}, 6u, 3u, kCell},
                                                   {bad, 6u, 3u, kCell}}) {
    EXPECT_THROW(encodeMask(cells, columns, rows, cell), std::invalid_argument);
  }
  const auto good = encodeMask(kCells, 6, 3, kCell);
  const std::function<void(std::vector<std::uint8_t>&)> damages[] = {
      [](auto& b) { b.pop_back(); },  // truncated
      [](auto& b) { b[0] = 'X'; },    // magic
      [](auto& b) { b[16] = 1; },     // the cell size no longer covers the globe
      [](auto& b) { b.back() = 9; },  // a level above 4
      [](auto& b) { b.clear(); }};
  for (const auto& damage : damages) {
    auto bytes = good;
    damage(bytes);
    EXPECT_THROW(decodeMask(bytes), std::runtime_error);
  }
}

}  // namespace
}  // namespace mapdata
