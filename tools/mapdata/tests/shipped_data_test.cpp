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

// Shores are rings; rivers are marked with their chains (start codes above 1001); 250 or more
// polylines a file but the coast's six continents (Africa, Eurasia, the Americas, Antarctica,
// Australia); the largest island (Greenland, about 2.1 million km²) below a continent.
TEST(ShippedData, EveryFileIsSoundAndTheContinentsAreInTheCoast) {
  for (const std::string name :
       {"coast.velapnt", "island.pnt", "lake.pnt", "country.pnt", "state.pnt", "river.pnt",
        "river2.pnt", "river3.pnt", "river4.pnt"}) {
    const bool rings = name.ends_with("apnt") || name == "island.pnt" || name == "lake.pnt";
    const std::vector<Record> records = load(name);
    const DecodedOutline outline = decodeOutline(records);
    const OutlineStats stats = checkOutline(outline, rings, 0.15);
    EXPECT_EQ(stats.polylines >= 250u, name != "coast.velapnt") << name;
    for (std::size_t i = 0; i < stats.problems.size() && i < 10; ++i)
      ADD_FAILURE() << name << ": " << stats.problems[i];
    const auto marked = std::count_if(records.begin(), records.end(),
                                      [](const Record& r) { return r.code > kStartCode; });
    EXPECT_EQ(static_cast<std::size_t>(marked), name.starts_with("river") ? stats.polylines : 0u)
        << name;
    double largest = 0, smallest = 1e12;
    for (const MinuteLine& ring : rings ? outline.lines : std::vector<MinuteLine>{}) {
      largest = std::max(largest, areaKm2(ring));
      smallest = std::min(smallest, areaKm2(ring));
    }
    if (name == "coast.velapnt") {
      EXPECT_EQ(outline.lines.size(), 6u);
      EXPECT_GE(smallest, kDefaultContinentalKm2);
    }
    EXPECT_TRUE(name != "island.pnt" || (largest > 2.0e6 && largest < kDefaultContinentalKm2));
  }
}

}  // namespace
}  // namespace mapdata
