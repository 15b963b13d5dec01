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
  // The chosen SetPixelSize argument gives the stored width back at any screen resolution.
  for (double tpp : {15.0, 12.0, 10.0, 7.5}) {
    for (int stored : {150, 400, 600, 601, 1000, 2000}) {
      const int argument = pixelSizeForInnerWidth(stored, tpp, kOpen);
      EXPECT_EQ(innerPixelsAfterPixelSize(argument, tpp, kOpen), stored) << tpp << " " << stored;
    }
  }
}

// A restored position is kept reachable (the resize rule: the window's layout tests).
TEST(LayoutRules, ThePlaceStaysOnTheScreen) {
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
