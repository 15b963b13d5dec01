#include "layout_rules.hpp"

#include <gtest/gtest.h>

namespace orbelle::shell {
namespace {

constexpr double kTpp96 = 15.0;
const SurfaceLimits kOpen{0.0, 1.0e9};

TEST(LayoutRules, TwipsPerPixelFollowTheLogicalResolution) {
  EXPECT_DOUBLE_EQ(twipsPerPixel(96.0), 15.0);
  EXPECT_DOUBLE_EQ(twipsPerPixel(120.0), 12.0);
  EXPECT_DOUBLE_EQ(twipsPerPixel(144.0), 10.0);
  EXPECT_DOUBLE_EQ(twipsPerPixel(0.0), 15.0);  // no resolution: the common 96 dpi
}

TEST(LayoutRules, PixelsRoundHalfToEven) {
  EXPECT_EQ(pixelsOf(6100.0, kTpp96), 407);  // 406.67
  EXPECT_EQ(pixelsOf(22.5, kTpp96), 2);      // 1.5 → 2
  EXPECT_EQ(pixelsOf(37.5, kTpp96), 2);      // 2.5 → 2
}

TEST(LayoutRules, SurfaceFollowsTheWindowWidth) {
  const ResizeOutcome r = resizeRule(7260.0, kOpen);
  EXPECT_DOUBLE_EQ(r.surfaceTwips, 6100.0);
  EXPECT_DOUBLE_EQ(r.windowHeightTwips, 6620.0);
  EXPECT_DOUBLE_EQ(r.windowWidthTwips, 7260.0);
}

TEST(LayoutRules, LimitsHoldTheSurfaceAndWidenOrNarrowTheWindow) {
  const SurfaceLimits limits{3000.0, 20000.0};
  ResizeOutcome r = resizeRule(500.0, limits);  // narrower than the surface's left offset
  EXPECT_DOUBLE_EQ(r.surfaceTwips, 3000.0);
  EXPECT_DOUBLE_EQ(r.windowWidthTwips, 3000.0 + 960.0 + 200.0);
  EXPECT_DOUBLE_EQ(r.windowHeightTwips, 120.0 + 3000.0 + 400.0);
  r = resizeRule(100000.0, limits);
  EXPECT_DOUBLE_EQ(r.surfaceTwips, 20000.0);
  EXPECT_DOUBLE_EQ(r.windowWidthTwips, 21160.0);
}

TEST(LayoutRules, SetPixelSizeSumIsHeldInSixteenBits) {
  EXPECT_DOUBLE_EQ(pixelSizeSurfaceTwips(32767, kTpp96), 32767 * 15.0);
  EXPECT_DOUBLE_EQ(pixelSizeSurfaceTwips(-100, kTpp96), 0.0);
}

TEST(LayoutRules, StoredWidthRoundTripsWithoutGrowing) {
  // At 96 dpi SetPixelSize(600) alone finishes 3 pixels wider than 600 inside (and smaller at
  // other resolutions); the argument chosen for a stored width reproduces that width exactly.
  EXPECT_EQ(innerPixelsAfterPixelSize(600, kTpp96, kOpen), 603);
  for (double tpp : {15.0, 12.0, 10.0, 7.5}) {
    for (int stored : {150, 400, 600, 601, 1000, 2000}) {
      const int argument = pixelSizeForInnerWidth(stored, tpp, kOpen);
      EXPECT_EQ(innerPixelsAfterPixelSize(argument, tpp, kOpen), stored) << tpp << " " << stored;
    }
  }
}

TEST(LayoutRules, StoredWidthOutsideTheLimitsGivesTheNearestPossible) {
  const SurfaceLimits limits{300 * kTpp96, 800 * kTpp96};
  const int argument = pixelSizeForInnerWidth(5000, kTpp96, limits);
  EXPECT_EQ(innerPixelsAfterPixelSize(argument, kTpp96, limits), 800 - 2 * kSurfaceBorderPixels);
}

TEST(LayoutRules, RestoredPositionIsKeptReachable) {
  WindowPosition p = keepReachable({20000.0, -300.0}, 15360.0, 11520.0);
  EXPECT_DOUBLE_EQ(p.left, 14360.0);
  EXPECT_DOUBLE_EQ(p.top, 0.0);
  p = keepReachable({-50.0, 12000.0}, 15360.0, 11520.0);
  EXPECT_DOUBLE_EQ(p.left, 0.0);
  EXPECT_DOUBLE_EQ(p.top, 10520.0);
  p = keepReachable({14360.0, 10520.0}, 15360.0, 11520.0);  // exactly at the margin: kept
  EXPECT_DOUBLE_EQ(p.left, 14360.0);
  EXPECT_DOUBLE_EQ(p.top, 10520.0);
  // A screen smaller than the margin: the left and top still end at 0, never negative.
  p = keepReachable({500.0, 500.0}, 800.0, 600.0);
  EXPECT_DOUBLE_EQ(p.left, 0.0);
  EXPECT_DOUBLE_EQ(p.top, 0.0);
}

TEST(LayoutRules, RememberedSizesFitLargeWindows) {
  EXPECT_EQ(roundedTwips(6620.5), 6620);
  EXPECT_EQ(roundedTwips(6621.5), 6622);
  EXPECT_EQ(roundedTwips(40000.0), 40000);  // wider than 16 bits hold
}

}  // namespace
}  // namespace orbelle::shell
