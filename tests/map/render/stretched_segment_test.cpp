// The rule that leaves segments stretched across the antipode undrawn.

#include "render/stretched_segment.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "geometry/projection.hpp"

namespace orbelle::render {
namespace {

TEST(StretchedSegment, ExcessOverTheTrueLengthDecides) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(isStretchedSegment(2000.0, 0.0));
  EXPECT_TRUE(isStretchedSegment(2000.5, 0.0));
  EXPECT_FALSE(isStretchedSegment(9000.0, 7000.0));
  EXPECT_TRUE(isStretchedSegment(9000.1, 7000.0));
  EXPECT_FALSE(isStretchedSegment(5.0, 7.0));  // shorter on the map: never
  EXPECT_FALSE(isStretchedSegment(nan, 1.0));
  EXPECT_FALSE(isStretchedSegment(1e9, nan));
  EXPECT_FALSE(mayBeStretched({0.0, 0.0}, {1200.0, 1600.0}));  // exactly 2000 miles
  EXPECT_TRUE(mayBeStretched({0.0, 0.0}, {1200.0, 1600.1}));
  EXPECT_NEAR(trueSegmentMiles(0.0, 0.0, 0.0, 90.0), 6216.48, 1e-9);
  EXPECT_NEAR(trueSegmentMiles(0.0, 179.9, 0.0, -179.9), 0.2 * 69.072, 1e-9);
}

// Segments as positions, projected from a station at (0, 0) whose antipode is (0, 180).
TEST(StretchedSegment, OnlySegmentsAcrossOrRoundTheAntipodeAreStretched) {
  struct Case {
    double lat1, lon1, lat2, lon2;
    bool stretched;
  };
  const Case cases[] = {
      {0.0, 179.9, 0.0, -179.9, true},      // along the equator through the antipode
      {0.05, 180.0, -0.05, 180.0, true},    // along the 180° meridian through it
      {0.1, 179.95, -0.1, -179.95, true},   // diagonally through it
      {0.07, 179.95, 0.07, -179.95, true},  // 5 miles off it: the ends lie 110° apart on the map
      {0.0, 0.0, 0.1, 0.1, false},          // at the station
      {40.0, 60.0, 40.1, 60.1, false},      // a quarter of the way round
      {0.0, 170.0, 0.1, 170.1, false},      // 10° from the antipode
      {0.0, 179.0, 0.0, 179.9, false},      // radial: keeps its length however near
      {1.5, 179.9, 1.5, -179.9, false},     // round the rim by less than the excess
  };
  const geo::StationProjector projector(0.0, 0.0);
  for (const Case& c : cases) {
    EXPECT_EQ(isStretchedSegment(projector.project(c.lat1, c.lon1),
                                 projector.project(c.lat2, c.lon2), c.lat1, c.lon1, c.lat2, c.lon2),
              c.stretched)
        << c.lat1 << ", " << c.lon1 << " to " << c.lat2 << ", " << c.lon2;
  }
}

}  // namespace
}  // namespace orbelle::render
