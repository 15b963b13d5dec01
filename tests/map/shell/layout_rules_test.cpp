#include "layout_rules.hpp"

#include <gtest/gtest.h>

namespace orbelle::shell {
namespace {

constexpr double kTpp96 = 15.0;
const SurfaceLimits kOpen{0.0, 1.0e9};

TEST(LayoutRules, TwipsAndPixels) {
  const std::pair<double, double> resolutions[] = {
      {96.0, 15.0}, {120.0, 12.0}, {144.0, 10.0}, {0.0, 15.0}};  // none: the common 96 dpi
  for (const auto& [dpi, tpp] : resolutions) EXPECT_DOUBLE_EQ(twipsPerPixel(dpi), tpp) << dpi;
  // Half to even: 406.67, 1.5 and 2.5 pixels.
  const std::pair<double, int> pixels[] = {{6100.0, 407}, {22.5, 2}, {37.5, 2}};
  for (const auto& [twips, px] : pixels) EXPECT_EQ(pixelsOf(twips, kTpp96), px) << twips;
  const std::pair<double, int> remembered[] = {{6620.5, 6620}, {6621.5, 6622}, {40000.0, 40000}};
  for (const auto& [twips, kept] : remembered) EXPECT_EQ(roundedTwips(twips), kept) << twips;
  EXPECT_DOUBLE_EQ(pixelSizeSurfaceTwips(32767, kTpp96), 32767 * 15.0);  // held in 16 bits
  EXPECT_DOUBLE_EQ(pixelSizeSurfaceTwips(-100, kTpp96), 0.0);
}

// The surface follows the window's width within its limits; the window fits around it.
TEST(LayoutRules, SurfaceFollowsTheWindowWidthWithinItsLimits) {
  const struct {
    double width;
    SurfaceLimits limits;
    double surface, windowWidth, windowHeight;
  } cases[] = {
      {7260.0, kOpen, 6100.0, 7260.0, 6620.0},
      {500.0, {3000.0, 20000.0}, 3000.0, 3000.0 + 960.0 + 200.0, 120.0 + 3000.0 + 400.0},
      {100000.0, {3000.0, 20000.0}, 20000.0, 21160.0, 20520.0},
  };
  for (const auto& k : cases) {
    const ResizeOutcome r = resizeRule(k.width, k.limits);
    EXPECT_DOUBLE_EQ(r.surfaceTwips, k.surface) << k.width;
    EXPECT_DOUBLE_EQ(r.windowWidthTwips, k.windowWidth) << k.width;
    EXPECT_DOUBLE_EQ(r.windowHeightTwips, k.windowHeight) << k.width;
  }
}

// SetPixelSize(600) alone grows the inside to 603; the chosen argument reproduces a stored width.
TEST(LayoutRules, StoredWidthRoundTripsWithoutGrowing) {
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

// A restored position is kept reachable: moved onto the screen, never negative.
TEST(LayoutRules, RestoredPositionIsKeptReachable) {
  const struct {
    WindowPosition stored;
    double screenWidth, screenHeight;
    WindowPosition kept;
  } cases[] = {
      {{20000.0, -300.0}, 15360.0, 11520.0, {14360.0, 0.0}},
      {{-50.0, 12000.0}, 15360.0, 11520.0, {0.0, 10520.0}},
      {{14360.0, 10520.0}, 15360.0, 11520.0, {14360.0, 10520.0}},  // exactly at the margin
      {{500.0, 500.0}, 800.0, 600.0, {0.0, 0.0}},  // a screen smaller than the margin
  };
  for (const auto& k : cases) {
    const WindowPosition p = keepReachable(k.stored, k.screenWidth, k.screenHeight);
    EXPECT_DOUBLE_EQ(p.left, k.kept.left) << k.stored.left;
    EXPECT_DOUBLE_EQ(p.top, k.kept.top) << k.stored.top;
  }
}

}  // namespace
}  // namespace orbelle::shell
