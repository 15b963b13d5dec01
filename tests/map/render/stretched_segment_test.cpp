// The rule that leaves segments stretched across the antipode undrawn.

#include "render/stretched_segment.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/projection.hpp"

namespace orbelle::render {
namespace {

TEST(StretchedSegment, ExcessOverTheTrueLengthDecides) {
  EXPECT_FALSE(isStretchedSegment(2000.0, 0.0));
  EXPECT_TRUE(isStretchedSegment(2000.5, 0.0));
  EXPECT_FALSE(isStretchedSegment(9000.0, 7000.0));
  EXPECT_TRUE(isStretchedSegment(9000.1, 7000.0));
  EXPECT_FALSE(isStretchedSegment(5.0, 7.0));  // shorter on the map: never
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(isStretchedSegment(nan, 1.0));
  EXPECT_FALSE(isStretchedSegment(1e9, nan));
}

TEST(StretchedSegment, OnlyLongSegmentsOnTheMapNeedTheirTrueLength) {
  EXPECT_FALSE(mayBeStretched({0.0, 0.0}, {1200.0, 1600.0}));  // exactly 2000 miles
  EXPECT_TRUE(mayBeStretched({0.0, 0.0}, {1200.0, 1600.1}));
  EXPECT_TRUE(mayBeStretched({-12000.0, 5.0}, {12000.0, -5.0}));
}

// Ends given as positions: the rule projects nothing itself, so take the ends from the projection
// of a station on the equator at 0°, whose antipode is (0, 180).
struct Segment {
  double lat1, lon1, lat2, lon2;
};

bool stretched(const Segment& s) {
  const geo::StationProjector projector(0.0, 0.0);
  return isStretchedSegment(projector.project(s.lat1, s.lon1), projector.project(s.lat2, s.lon2),
                            s.lat1, s.lon1, s.lat2, s.lon2);
}

TEST(StretchedSegment, SegmentsAcrossTheAntipodeAreStretched) {
  EXPECT_TRUE(stretched({0.0, 179.9, 0.0, -179.9}));    // along the equator through it
  EXPECT_TRUE(stretched({0.05, 180.0, -0.05, 180.0}));  // along the 180° meridian through it
  EXPECT_TRUE(stretched({0.1, 179.95, -0.1, -179.95}));
  // 5 miles off the antipode, 7 miles long: seen from the station the ends lie 110° apart.
  EXPECT_TRUE(stretched({0.07, 179.95, 0.07, -179.95}));
}

TEST(StretchedSegment, OrdinarySegmentsAreNot) {
  EXPECT_FALSE(stretched({0.0, 0.0, 0.1, 0.1}));      // at the station
  EXPECT_FALSE(stretched({40.0, 60.0, 40.1, 60.1}));  // a quarter of the way round
  EXPECT_FALSE(stretched({0.0, 170.0, 0.1, 170.1}));  // 10° from the antipode
  // Radial segments keep their length on this map, however near the antipode.
  EXPECT_FALSE(stretched({0.0, 179.0, 0.0, 179.9}));
  // 1.5° from the antipode: stretched around the rim, but by less than the excess.
  EXPECT_FALSE(stretched({1.5, 179.9, 1.5, -179.9}));
}

TEST(StretchedSegment, TrueLengthIsTheGreatCircleDistance) {
  EXPECT_NEAR(trueSegmentMiles(0.0, 0.0, 0.0, 90.0), 6216.48, 1e-9);
  EXPECT_NEAR(trueSegmentMiles(0.0, 179.9, 0.0, -179.9), 0.2 * 69.072, 1e-9);
  EXPECT_EQ(trueSegmentMiles(10.0, 20.0, 10.0, 20.0), 0.0);
}

}  // namespace
}  // namespace orbelle::render
