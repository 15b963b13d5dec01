#include "raster/surface.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "raster/color.hpp"

namespace orbelle::raster {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Color, PacksRedGreenBlueAndConvertsToStoredPixels) {
  EXPECT_EQ(rgb(128, 192, 255), 128u + 256u * 192u + 65536u * 255u);
  EXPECT_EQ(toPixel(rgb(1, 2, 3)), 0xff010203u);
  EXPECT_EQ(fromPixel(0x00010203u), rgb(1, 2, 3));  // alpha is not colour
  for (Rgb c : {kBlack, kRed, rgb(223, 223, 223)}) {
    for (Rgb pen : {kWhite, rgb(17, 34, 51)}) {
      EXPECT_EQ(fromPixel(toPixel(c) ^ toXorMask(pen)), c ^ pen);
      EXPECT_EQ((toPixel(c) ^ toXorMask(pen)) & kOpaque, kOpaque);
    }
  }
}

// Bad sizes, scales and coordinates are refused or draw nothing; reads outside give nothing.
TEST(Surface, RefusesBadSizesScalesAndCoordinates) {
  EXPECT_THROW(Surface(0, 10), std::invalid_argument);
  EXPECT_THROW(Surface(10, -1), std::invalid_argument);
  EXPECT_THROW(Surface(Surface::kMaxSide + 1, 1), std::invalid_argument);
  Surface s(4, 3, kRed);
  EXPECT_THROW(s.resize(0, 0), std::invalid_argument);
  EXPECT_THROW(s.setScale(0, 0, 0, 1), std::invalid_argument);
  EXPECT_THROW(s.setScale(0, 0, 1, 0), std::invalid_argument);
  EXPECT_THROW(s.setScale(kInf, 0, 1, 1), std::invalid_argument);
  EXPECT_EQ(s.width(), 4);
  EXPECT_EQ(s.toPixelY(2), 2.0);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}}) EXPECT_FALSE(s.pixel(x, y));
  EXPECT_FALSE(s.point(kNan, 0).has_value());
  EXPECT_FALSE(s.point(1e300, 0).has_value());
  s.setColor(kBlack);
  s.line(kNan, 0, 2, 2);
  s.line(0, 0, kInf, 2);
  s.dot(kNan, kNan);
  s.circle(2, 2, kNan);
  s.circle(kInf, 2, 3);
  s.arc(2, 2, 3, kNan, 1);
  s.setPenWidth(3);
  s.line(0, -kInf, 2, 2);
  EXPECT_EQ(std::count(s.pixels(), s.pixels() + 12, toPixel(kRed)), 12);
}

// Half a unit per pixel with y up; half-way positions round to even pixels.
TEST(Surface, UserScaleWithYGrowingUpwards) {
  Surface s(200, 100);
  s.setScale(-50, 25, 100, -50);
  EXPECT_EQ(std::pair(s.unitWidth(), s.unitHeight()), std::pair(0.5, -0.5));
  EXPECT_EQ(std::pair(s.toPixelX(-50), s.toPixelX(0)), std::pair(0.0, 100.0));
  EXPECT_EQ(std::pair(s.toPixelY(25), s.toPixelY(-20)), std::pair(0.0, 90.0));
  s.plotPixel(100, 10, kRed);  // user (0, 20)
  EXPECT_EQ(s.point(0.2, 20.2), kRed);
  EXPECT_EQ(s.point(0.25, 20), kRed);  // pixel 100.5 → 100
  EXPECT_NE(s.point(0.75, 20), kRed);
  s.setPixelScale();
  EXPECT_EQ(s.toPixelY(7), 7.0);
}

// Spans are clipped to the surface and honour the mode; clearing ignores the mode.
TEST(Surface, SpansAreClippedAndHonourTheModeClearDoesNot) {
  Surface s(5, 2, kWhite);
  s.plotSpan(0, -3, 1, kBlack);
  s.plotSpan(1, 3, 99, kBlack);
  s.plotSpan(7, 0, 4, kBlack);  // no such row
  s.plotSpan(0, 4, 3, kBlack);  // empty run
  s.plotPixel(-1, 0, kBlack);
  s.setMode(DrawMode::Xor);
  s.plotSpan(0, 0, 2, rgb(255, 0, 0));
  const Rgb expected[2][5] = {{rgb(255, 0, 0), rgb(255, 0, 0), rgb(0, 255, 255), kWhite, kWhite},
                              {kWhite, kWhite, kWhite, kBlack, kBlack}};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(s.pixel(i % 5, i / 5), expected[i / 5][i % 5]) << i;
  s.moveTo(2, 2);
  s.clear(rgb(0, 128, 0));
  EXPECT_EQ(s.pixel(1, 1), rgb(0, 128, 0));
  EXPECT_EQ(std::pair(s.currentX(), s.currentY()), std::pair(0.0, 0.0));
}

}  // namespace
}  // namespace orbelle::raster
