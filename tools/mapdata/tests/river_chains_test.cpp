#include "river_chains.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sphere_area.hpp"

namespace mapdata {
namespace {

// Great-circle length (km) of one degree of longitude along latitude lat.
double degreeAt(double lat) {
  const double rad = std::numbers::pi / 180.0;
  return 2 * std::asin(std::cos(lat * rad) * std::sin(0.5 * rad)) * kEarthRadiusKm;
}

TEST(RiverChains, JoinPiecesAtSharedEndsAndThroughTheLakesTheyTouch) {
  const std::vector<MinuteLine> lines = {
      {{0, 0}, {0, 60}},           // 0 and 1 share an end
      {{0, 120}, {0, 60}},         //
      {{600, 0}, {600, 60}},       // 2 ends 3' from the lake, 3 starts 3' from it
      {{600, 200}, {600, 260}},    //
      {{-600, 0}, {-600, 60}},     // 5' from the other lake: alone
      {{0, 10800}, {0, 10740}},    // shares 180 = -180 with 6
      {{0, -10800}, {0, -10740}},  //
  };
  const std::vector<MinuteLine> lakes = {
      {{600, 63}, {700, 130}, {600, 197}, {600, 63}},
      {{-600, 65}, {-700, 130}, {-600, 130}, {-600, 65}},
  };
  const std::vector<double> km = chainLengthsKm(lines, lakes);
  const double expected[] = {2 * degreeAt(0), 2 * degreeAt(0), 2 * degreeAt(10), 2 * degreeAt(10),
                             degreeAt(-10),   2 * degreeAt(0), 2 * degreeAt(0)};
  ASSERT_EQ(km.size(), std::size(expected));
  for (std::size_t i = 0; i < km.size(); ++i) EXPECT_NEAR(km[i], expected[i], 1e-6) << i;
  EXPECT_TRUE(chainLengthsKm({}, lakes).empty());
}

}  // namespace
}  // namespace mapdata
