// The seeds against the shipped outline data: every water seed lies in water and every ice seed
// on land.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "outline_rings.hpp"
#include "render/fill_seeds.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

// An extra seed must lie clear of the shores by a margin, or it would be of use on fine maps only
// (the fills skip a seed whose pixel lies near an outline).
constexpr double kMinExtraSeedShoreMiles = 20.0;

class SeedData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (test::shippedDataPresent()) {
      rings_ = std::make_unique<test::ShoreRings>(test::shippedProgramFolder() + "/mapdata");
    }
  }
  void SetUp() override {
    if (!rings_) GTEST_SKIP() << "no outline data in " << test::shippedProgramFolder();
  }
  static void checkSide(const FillSeed& seed, const std::string& name) {
    const bool land = rings_->onLand(seed.lat, seed.lon);
    EXPECT_EQ(land, seed.color == SeedColor::Ice)
        << name << " (" << seed.lat << ", " << seed.lon << ") lies inside "
        << rings_->ringsAround(seed.lat, seed.lon) << " shore rings";
  }
  static std::unique_ptr<test::ShoreRings> rings_;
};

std::unique_ptr<test::ShoreRings> SeedData::rings_;

// A table seed on the wrong side of a shore would flood the land around it on a map fine enough
// to show it clear of the outlines. (Some lie within a mile or two of a shore; the clearance rule
// of the fills skips them where that matters.)
TEST_F(SeedData, TableSeedsLieOnTheirSideOfTheShores) {
  for (std::size_t i = 0; i < kSeedTable.size(); ++i) {
    checkSide(kSeedTable[i], "seed " + std::to_string(i + 1));
  }
}

TEST_F(SeedData, ExtraSeedsLieInWaterClearOfTheShores) {
  const auto seeds = extraSeeds();
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    const std::string name = "extra seed " + std::to_string(i + 1);
    checkSide(seeds[i], name);
    EXPECT_GE(rings_->milesToShore(seeds[i].lat, seeds[i].lon), kMinExtraSeedShoreMiles)
        << name << " (" << seeds[i].lat << ", " << seeds[i].lon << ")";
  }
}

TEST_F(SeedData, RingCountTellsLandFromWater) {
  // Positions far from any shore, known on any map: the count itself must be right.
  EXPECT_FALSE(rings_->onLand(30.0, -40.0));  // mid-Atlantic
  EXPECT_FALSE(rings_->onLand(0.0, -150.0));  // mid-Pacific
  EXPECT_TRUE(rings_->onLand(23.0, 10.0));    // Sahara
  EXPECT_TRUE(rings_->onLand(65.0, 100.0));   // Siberia
  EXPECT_TRUE(rings_->onLand(-80.0, 0.0));    // Antarctica
  EXPECT_TRUE(rings_->onLand(72.0, -40.0));   // Greenland
  EXPECT_FALSE(rings_->onLand(47.7, -87.5));  // Lake Superior
  EXPECT_TRUE(rings_->onLand(47.98, -88.9));  // Isle Royale, an island in Lake Superior
}

}  // namespace
}  // namespace orbelle::render
