#include "land_mask.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mapdata {
namespace {

// A 6 x 3 mask of 60-degree cells whose values show a swapped row or column.
std::vector<std::uint8_t> cells() { return {0, 1, 2, 3, 4, 1, 1, 0, 0, 0, 0, 2, 3, 3, 1, 1, 1, 4}; }

TEST(LandMask, RoundTripsAndLooksUpCellsFromTheNorthWest) {
  const auto bytes = encodeMask(cells(), 6, 3, 60 * 3600);
  ASSERT_EQ(bytes.size(), kMaskHeaderBytes + 18);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "LANDMASK");
  EXPECT_EQ(bytes[8], 6);
  EXPECT_EQ(bytes[12], 3);
  const LandMask mask = decodeMask(bytes);
  EXPECT_EQ(mask.levels, cells());
  EXPECT_EQ(mask.at(89, -179), 0);  // north-west cell
  EXPECT_EQ(mask.at(89, -61), 1);   // row 0, column 1
  EXPECT_EQ(mask.at(89, -59), 2);   // row 0, column 2
  EXPECT_EQ(mask.at(0.5, 179), 2);  // row 1, last column
  EXPECT_EQ(mask.at(-89, 179), 4);  // south-east cell
  EXPECT_EQ(mask.at(-90, 180), 3);  // 180 is column 0; the south pole is the last row
  EXPECT_EQ(mask.at(90, -180), 0);
  EXPECT_EQ(mask.at(89, 241), 1);  // longitudes fold: 241 is -119
}

TEST(LandMask, RefusesGridsThatDoNotCoverTheGlobe) {
  EXPECT_THROW(encodeMask(cells(), 6, 3, 3600), std::invalid_argument);
  EXPECT_THROW(encodeMask(cells(), 3, 6, 60 * 3600), std::invalid_argument);
  EXPECT_THROW(encodeMask({0, 1}, 6, 3, 60 * 3600), std::invalid_argument);
  auto bad = cells();
  bad[5] = 5;
  EXPECT_THROW(encodeMask(bad, 6, 3, 60 * 3600), std::invalid_argument);
}

TEST(LandMask, RefusesDamagedFiles) {
  const auto good = encodeMask(cells(), 6, 3, 60 * 3600);
  auto truncated = good;
  truncated.pop_back();
  EXPECT_THROW(decodeMask(truncated), std::runtime_error);
  auto magic = good;
  magic[0] = 'X';
  EXPECT_THROW(decodeMask(magic), std::runtime_error);
  auto header = good;
  header[16] = 1;  // cell size no longer covers the globe
  EXPECT_THROW(decodeMask(header), std::runtime_error);
  auto value = good;
  value.back() = 9;
  EXPECT_THROW(decodeMask(value), std::runtime_error);
  EXPECT_THROW(decodeMask({}), std::runtime_error);
}

}  // namespace
}  // namespace mapdata
