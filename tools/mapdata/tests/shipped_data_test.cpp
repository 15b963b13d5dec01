// The committed outline files pass the converter's checks, the rivers carry their chains, and
// the continents are where they belong.
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
  // Shores are rings; rivers are marked with their chains (start codes above 1001), 250 or more
  // polylines a file (6 continents).
  for (const std::string name :
       {"coast.velapnt", "island.pnt", "lake.pnt", "country.pnt", "state.pnt", "river.pnt",
        "river2.pnt", "river3.pnt", "river4.pnt"}) {
    const bool rings = name.ends_with("apnt") || name == "island.pnt" || name == "lake.pnt";
    const std::vector<Record> records = load(name);
    const OutlineStats stats = checkOutline(decodeOutline(records), rings, 0.15);
    EXPECT_GE(stats.polylines, name == "coast.velapnt" ? 6u : 250u) << name;
    for (std::size_t i = 0; i < stats.problems.size() && i < 10; ++i)
      ADD_FAILURE() << name << ": " << stats.problems[i];
    EXPECT_TRUE(stats.problems.empty()) << name << ": " << stats.problems.size() << " problems";
    const auto marked = std::count_if(records.begin(), records.end(),
                                      [](const Record& r) { return r.code > kStartCode; });
    EXPECT_EQ(static_cast<std::size_t>(marked), name.starts_with("river") ? stats.polylines : 0u)
        << name;
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
