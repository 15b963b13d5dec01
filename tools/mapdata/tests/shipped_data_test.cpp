// Checks the committed outline files: they parse as the map reads them, every vertex is in
// range, shoreline files hold closed rings only, line files hold fully joined polylines, no
// segment is longer than the densified step allows, and the continents are where they belong.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "convert.hpp"
#include "file_io.hpp"
#include "outline_check.hpp"
#include "outline_records.hpp"
#include "sphere_area.hpp"

namespace mapdata {
namespace {

DecodedOutline load(const std::string& name, std::size_t& trailing) {
  return decodeOutline(fromBytes(readFileBytes(std::string(MAPDATA_DIR) + "/" + name), trailing));
}

double areaKm2(const MinuteLine& ring) {
  Polyline degrees;
  for (const MinutePoint p : ring) degrees.push_back({p.lon / 60.0, p.lat / 60.0});
  return ringAreaKm2(degrees);
}

struct FileCase {
  const char* name;
  bool rings;
};

class ShippedFile : public testing::TestWithParam<FileCase> {};

TEST_P(ShippedFile, IsSound) {
  std::size_t trailing = 0;
  const DecodedOutline decoded = load(GetParam().name, trailing);
  EXPECT_EQ(trailing, 0u);
  const OutlineStats stats = checkOutline(decoded, GetParam().rings, 0.15);
  EXPECT_GT(stats.polylines, 300u);
  for (std::size_t i = 0; i < stats.problems.size() && i < 10; ++i)
    ADD_FAILURE() << stats.problems[i];
  EXPECT_TRUE(stats.problems.empty()) << stats.problems.size() << " problems";
}

INSTANTIATE_TEST_SUITE_P(Mapdata, ShippedFile,
                         testing::Values(FileCase{"island.pnt", true}, FileCase{"lake.pnt", true},
                                         FileCase{"country.pnt", false},
                                         FileCase{"state.pnt", false},
                                         FileCase{"river.pnt", false}),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           return n.substr(0, n.find('.'));
                         });

TEST(ShippedData, CoastHoldsTheSixContinentsAndIslandsHoldTheRest) {
  std::size_t trailing = 0;
  const DecodedOutline coast = load("coast.velapnt", trailing);
  const OutlineStats stats = checkOutline(coast, true, 0.15);
  EXPECT_TRUE(stats.problems.empty()) << stats.problems.size() << " problems";
  // Africa, Eurasia, North and South America, Antarctica, Australia.
  ASSERT_EQ(coast.lines.size(), 6u);
  for (const MinuteLine& ring : coast.lines) EXPECT_GE(areaKm2(ring), kDefaultContinentalKm2);

  const DecodedOutline islands = load("island.pnt", trailing);
  double largest = 0;
  for (const MinuteLine& ring : islands.lines) largest = std::max(largest, areaKm2(ring));
  // Greenland, about 2.1 million km2 in this data.
  EXPECT_GT(largest, 2.0e6);
  EXPECT_LT(largest, kDefaultContinentalKm2);
}

}  // namespace
}  // namespace mapdata
