// Checks the committed outline files: they parse as the map reads them, every vertex is in
// range, shoreline files hold closed rings only, line files hold fully joined polylines, no
// segment is longer than the densified step allows, river polylines carry their chain's length,
// and the continents are where they belong.
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

std::vector<Record> load(const std::string& name) {
  std::size_t trailing = 0;
  auto records = fromBytes(readFileBytes(std::string(MAPDATA_DIR) + "/" + name), trailing);
  EXPECT_EQ(trailing, 0u) << name;
  return records;
}

double areaKm2(const MinuteLine& ring) {
  Polyline degrees;
  for (const MinutePoint p : ring) degrees.push_back({p.lon / 60.0, p.lat / 60.0});
  return ringAreaKm2(degrees);
}

TEST(ShippedData, EveryFileIsSound) {
  struct FileCase {
    const char* name;
    bool rings, chains;
    std::size_t leastPolylines;
  };
  for (const FileCase c : {FileCase{"coast.velapnt", true, false, 6},
                           {"island.pnt", true, false, 300},
                           {"lake.pnt", true, false, 300},
                           {"country.pnt", false, false, 300},
                           {"state.pnt", false, false, 300},
                           {"river.pnt", false, true, 250},
                           {"river2.pnt", false, true, 500},
                           {"river3.pnt", false, true, 1500},
                           {"river4.pnt", false, true, 3000}}) {
    const std::vector<Record> records = load(c.name);
    const OutlineStats stats = checkOutline(decodeOutline(records), c.rings, 0.15);
    EXPECT_GE(stats.polylines, c.leastPolylines) << c.name;
    for (std::size_t i = 0; i < stats.problems.size() && i < 10; ++i)
      ADD_FAILURE() << c.name << ": " << stats.problems[i];
    EXPECT_TRUE(stats.problems.empty()) << c.name << ": " << stats.problems.size() << " problems";
    // River files mark every polyline with its chain (codes above 1001); the others do not.
    const auto marked = std::count_if(records.begin(), records.end(),
                                      [](const Record& r) { return r.code > kStartCode; });
    EXPECT_EQ(static_cast<std::size_t>(marked), c.chains ? stats.polylines : 0u) << c.name;
  }
}

TEST(ShippedData, CoastHoldsTheSixContinentsAndIslandsHoldTheRest) {
  // Africa, Eurasia, North and South America, Antarctica, Australia.
  const DecodedOutline coast = decodeOutline(load("coast.velapnt"));
  ASSERT_EQ(coast.lines.size(), 6u);
  for (const MinuteLine& ring : coast.lines) EXPECT_GE(areaKm2(ring), kDefaultContinentalKm2);

  double largest = 0;
  for (const MinuteLine& ring : decodeOutline(load("island.pnt")).lines)
    largest = std::max(largest, areaKm2(ring));
  // Greenland, about 2.1 million km2 in this data.
  EXPECT_GT(largest, 2.0e6);
  EXPECT_LT(largest, kDefaultContinentalKm2);
}

}  // namespace
}  // namespace mapdata
