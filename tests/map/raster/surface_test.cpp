#include "raster/surface.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

#include "raster/color.hpp"

namespace orbelle::raster {
namespace {

TEST(Color, PacksRedGreenBlueAndConvertsToStoredPixels) {
  EXPECT_EQ(rgb(128, 192, 255), 128u + 256u * 192u + 65536u * 255u);
  EXPECT_EQ(rgb(1, 2, 3), 0x030201u);
  EXPECT_EQ(toPixel(rgb(1, 2, 3)), 0xff010203u);
  EXPECT_EQ(fromPixel(0xff010203u), rgb(1, 2, 3));
  EXPECT_EQ(fromPixel(0x00010203u), rgb(1, 2, 3));  // alpha is not colour
  for (Rgb c : {kBlack, kWhite, kRed, rgb(223, 223, 223), rgb(0, 128, 0)}) {
    EXPECT_EQ(fromPixel(toPixel(c)), c);
    for (Rgb pen : {kWhite, rgb(255, 0, 0), rgb(17, 34, 51)}) {
      EXPECT_EQ(fromPixel(toPixel(c) ^ toXorMask(pen)), c ^ pen);
      EXPECT_EQ((toPixel(c) ^ toXorMask(pen)) & kOpaque, kOpaque);
    }
  }
}

TEST(Surface, RefusesSizesOutsideTheRange) {
  EXPECT_THROW(Surface(0, 10), std::invalid_argument);
  EXPECT_THROW(Surface(10, -1), std::invalid_argument);
  EXPECT_THROW(Surface(Surface::kMaxSide + 1, 1), std::invalid_argument);
  Surface ok(3, 2, kRed);
  EXPECT_THROW(ok.resize(0, 0), std::invalid_argument);
  EXPECT_EQ(ok.width(), 3);  // a refused resize leaves the surface as it was
  EXPECT_EQ(ok.pixel(2, 1), kRed);
}

TEST(Surface, PixelReadsOutsideGiveNothing) {
  Surface s(4, 3);
  EXPECT_FALSE(s.pixel(-1, 0).has_value());
  EXPECT_FALSE(s.pixel(0, -1).has_value());
  EXPECT_FALSE(s.pixel(4, 0).has_value());
  EXPECT_FALSE(s.pixel(0, 3).has_value());
  EXPECT_TRUE(s.pixel(3, 2).has_value());
  EXPECT_FALSE(s.point(std::nan(""), 0).has_value());
  EXPECT_FALSE(s.point(1e300, 0).has_value());
}

TEST(Surface, UserScaleWithYGrowingUpwards) {
  Surface s(200, 100);
  s.setScale(-50, 25, 100, -50);  // half a unit per pixel, y up
  EXPECT_EQ(s.unitWidth(), 0.5);
  EXPECT_EQ(s.unitHeight(), -0.5);
  EXPECT_EQ(s.toPixelX(-50), 0.0);
  EXPECT_EQ(s.toPixelX(0), 100.0);
  EXPECT_EQ(s.toPixelY(25), 0.0);
  EXPECT_EQ(s.toPixelY(0), 50.0);
  EXPECT_EQ(s.toPixelY(-20), 90.0);

  s.plotPixel(100, 10, kRed);  // user (0, 20)
  EXPECT_EQ(s.point(0, 20), kRed);
  EXPECT_EQ(s.point(0.2, 20.2), kRed);  // rounds to the same pixel
  // Half-way positions round to even pixels: x = 0.25 is pixel 100.5 → 100.
  EXPECT_EQ(s.point(0.25, 20), kRed);
  EXPECT_NE(s.point(0.75, 20), kRed);

  EXPECT_THROW(s.setScale(0, 0, 0, 1), std::invalid_argument);
  EXPECT_THROW(s.setScale(0, 0, 1, 0), std::invalid_argument);
  EXPECT_THROW(s.setScale(std::numeric_limits<double>::infinity(), 0, 1, 1), std::invalid_argument);
  s.setPixelScale();
  EXPECT_EQ(s.toPixelY(7), 7.0);
}

TEST(Surface, SpansAreClippedAndHonourTheMode) {
  Surface s(5, 2, kWhite);
  s.plotSpan(0, -3, 1, kBlack);
  s.plotSpan(1, 3, 99, kBlack);
  s.plotSpan(7, 0, 4, kBlack);  // no such row
  s.plotSpan(0, 4, 3, kBlack);  // empty run
  s.plotPixel(-1, 0, kBlack);
  EXPECT_EQ(s.pixel(0, 0), kBlack);
  EXPECT_EQ(s.pixel(1, 0), kBlack);
  EXPECT_EQ(s.pixel(2, 0), kWhite);
  EXPECT_EQ(s.pixel(4, 0), kWhite);
  EXPECT_EQ(s.pixel(2, 1), kWhite);
  EXPECT_EQ(s.pixel(4, 1), kBlack);

  s.setMode(DrawMode::Xor);
  s.plotSpan(0, 0, 4, rgb(255, 0, 0));
  EXPECT_EQ(s.pixel(0, 0), rgb(255, 0, 0));    // black ^ red
  EXPECT_EQ(s.pixel(2, 0), rgb(0, 255, 255));  // white ^ red
}

TEST(Surface, ClearIgnoresTheModeAndResetsTheCurrentPoint) {
  Surface s(3, 3, kWhite);
  s.setMode(DrawMode::Xor);
  s.moveTo(2, 2);
  s.clear(rgb(0, 128, 0));
  EXPECT_EQ(s.pixel(1, 1), rgb(0, 128, 0));
  EXPECT_EQ(s.currentX(), 0.0);
  EXPECT_EQ(s.currentY(), 0.0);
}

TEST(Surface, NonFiniteCoordinatesDrawNothing) {
  Surface s(10, 10, kWhite);
  const Surface before = s;
  const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
  s.setColor(kBlack);
  s.line(nan, 0, 5, 5);
  s.line(0, 0, inf, 5);
  s.dot(nan, nan);
  s.circle(5, 5, nan);
  s.circle(inf, 5, 3);
  s.arc(5, 5, 3, nan, 1);
  s.setPenWidth(3);
  s.line(0, -inf, 5, 5);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(s.pixel(x, y), before.pixel(x, y));
  }
}

}  // namespace
}  // namespace orbelle::raster
