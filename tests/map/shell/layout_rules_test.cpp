#include "layout_rules.hpp"

#include <gtest/gtest.h>

namespace orbelle::shell {
namespace {

constexpr double kTpp96 = 15.0;
const SurfaceLimits kOpen{0.0, 1.0e9};

// Twips per pixel (none: 96 dpi), rounding half to even; a stored width comes back without growing.
TEST(LayoutRules, TwipsPixelsAndTheStoredWidth) {
  EXPECT_DOUBLE_EQ(twipsPerPixel(144.0), 10.0);
  EXPECT_DOUBLE_EQ(twipsPerPixel(0.0), 15.0);
  const std::pair<double, int> pixels[] = {{6100.0, 407}, {22.5, 2}, {37.5, 2}};
  for (const auto& [twips, px] : pixels) EXPECT_EQ(pixelsOf(twips, kTpp96), px) << twips;
  EXPECT_EQ(roundedTwips(6620.5), 6620);
  EXPECT_EQ(roundedTwips(6621.5), 6622);
  EXPECT_DOUBLE_EQ(pixelSizeSurfaceTwips(32767, kTpp96), 32767 * 15.0);  // held in 16 bits
  EXPECT_DOUBLE_EQ(pixelSizeSurfaceTwips(-100, kTpp96), 0.0);
  // SetPixelSize(600) alone grows the inside to 603; the chosen argument gives the stored width.
  EXPECT_EQ(innerPixelsAfterPixelSize(600, kTpp96, kOpen), 603);
  for (double tpp : {15.0, 12.0, 10.0, 7.5}) {
    for (int stored : {150, 400, 600, 601, 1000, 2000}) {
      const int argument = pixelSizeForInnerWidth(stored, tpp, kOpen);
      EXPECT_EQ(innerPixelsAfterPixelSize(argument, tpp, kOpen), stored) << tpp << " " << stored;
    }
  }
  const SurfaceLimits limits{300 * kTpp96, 800 * kTpp96};
  const int argument = pixelSizeForInnerWidth(5000, kTpp96, limits);
  EXPECT_EQ(innerPixelsAfterPixelSize(argument, kTpp96, limits), 800 - 2 * kSurfaceBorderPixels);
}

// The surface follows the window's width within its limits; a restored position is kept reachable.
TEST(LayoutRules, SurfaceFollowsTheWidthAndThePlaceStaysOnTheScreen) {
  const SurfaceLimits limits{3000.0, 20000.0};
  const struct {
    double width;
    SurfaceLimits limits;
    double surface, windowWidth, windowHeight;
  } cases[] = {
      {7260.0, kOpen, 6100.0, 7260.0, 6620.0},
      {500.0, limits, 3000.0, 3000.0 + 960.0 + 200.0, 120.0 + 3000.0 + 400.0},
      {100000.0, limits, 20000.0, 21160.0, 20520.0},
  };
  for (const auto& k : cases) {
    const ResizeOutcome r = resizeRule(k.width, k.limits);
    EXPECT_DOUBLE_EQ(r.surfaceTwips, k.surface) << k.width;
    EXPECT_DOUBLE_EQ(r.windowWidthTwips, k.windowWidth) << k.width;
    EXPECT_DOUBLE_EQ(r.windowHeightTwips, k.windowHeight) << k.width;
  }
  // On a 15360 × 11520 twip screen: moved onto it (the margin itself kept), never negative.
  const std::pair<WindowPosition, WindowPosition> places[] = {
      {{20000.0, -300.0}, {14360.0, 0.0}},
      {{-50.0, 12000.0}, {0.0, 10520.0}},
      {{14360.0, 10520.0}, {14360.0, 10520.0}},
  };
  for (const auto& [stored, kept] : places) {
    const WindowPosition p = keepReachable(stored, 15360.0, 11520.0);
    EXPECT_EQ(std::make_pair(p.left, p.top), std::make_pair(kept.left, kept.top)) << stored.left;
  }
  const WindowPosition small = keepReachable({500.0, 500.0}, 800.0, 600.0);
  EXPECT_EQ(std::make_pair(small.left, small.top), std::make_pair(0.0, 0.0));
}

}  // namespace
}  // namespace orbelle::shell
