#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "raster/surface.hpp"
#include "surface_text.hpp"

namespace orbelle::raster {
namespace {

using testing::blank;
using testing::picture;
using testing::rows;

// Shallow, steep and half-way steps are pixel-exact; the current point moves with lineTo and
// line, a line or dot in an explicit colour leaves the pen's colour.
TEST(ThinLine, StepsAreExactAndTheCurrentPointMoves) {
  Surface shallow = blank(8, 4), steep = blank(5, 8), halfWay = blank(5, 3);
  shallow.line(0, 3, 7, 0);
  EXPECT_EQ(picture(shallow, kBlack), rows({"......##", "....##..", "..##....", "##......"}));
  steep.line(1, 0, 3, 7);
  EXPECT_EQ(picture(steep, kBlack),
            rows({".#...", ".#...", "..#..", "..#..", "..#..", "..#..", "...#.", "...#."}));
  halfWay.line(4, 2, 0, 0);
  EXPECT_EQ(picture(halfWay, kBlack), rows({"#....", ".##..", "...##"}));
  Surface s = blank(6, 3);
  s.moveTo(0, 1);
  s.lineTo(2, 1);
  s.lineTo(5, 1);
  s.line(0, 0, 1, 0, kRed);
  EXPECT_EQ(std::pair(s.currentX(), s.currentY()), std::pair(1.0, 0.0));
  s.dot(3, 2, kRed);
  EXPECT_EQ(picture(s, kBlack), rows({"......", "######", "......"}));
  EXPECT_EQ(picture(s, kRed), rows({"##....", "......", "...#.."}));
  EXPECT_EQ(s.color(), kBlack);
  EXPECT_EQ(s.currentX(), 3.0);
}

// Reversed lines give the same pixels; thin ones hold one pixel per step, both ends included.
TEST(ThinLine, ReversedLinesAreTheSameAndThinOnesHaveOnePixelPerStep) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> coordinate(-5.0, 45.0);
  for (int i = 0; i < 1200; ++i) {
    const double x1 = coordinate(rng), y1 = coordinate(rng);
    const double x2 = coordinate(rng), y2 = coordinate(rng);
    Surface a = blank(40, 40), b = blank(40, 40);
    a.setPenWidth(1 + i % 4);
    b.setPenWidth(1 + i % 4);
    a.line(x1, y1, x2, y2);
    b.line(x2, y2, x1, y1);
    ASSERT_EQ(picture(a, kBlack), picture(b, kBlack))
        << x1 << "," << y1 << " " << x2 << "," << y2 << " width " << 1 + i % 4;
  }
  std::uniform_int_distribution<int> pixel(0, 59);
  for (int i = 0; i < 200; ++i) {
    Surface s = blank(60, 60);
    const int x1 = pixel(rng), y1 = pixel(rng), x2 = pixel(rng), y2 = pixel(rng);
    s.line(x1, y1, x2, y2);
    const std::string p = picture(s, kBlack);
    EXPECT_EQ(std::count(p.begin(), p.end(), '#'),
              1 + std::max(std::abs(x2 - x1), std::abs(y2 - y1)));
    EXPECT_EQ(std::tuple(s.pixel(x1, y1), s.pixel(x2, y2)), std::tuple(kBlack, kBlack));
  }
}

// A window shows exactly what a big surface shows there; far-away ends are clipped, not wrapped.
TEST(Line, ClippingNeverMovesAPixel) {
  std::mt19937 rng(13);
  std::uniform_real_distribution<double> outside(0.0, 2000.0);
  for (int i = 0; i < 240; ++i) {
    const int width = std::array{1, 2, 3, 5}[i % 4];
    // The other end mirrored through the window's centre so the line crosses near it.
    const double x1 = outside(rng), y1 = outside(rng);
    const double x2 = 2 * 1020 - x1 + (outside(rng) - 1000) / 50;
    const double y2 = 2 * 1020 - y1 + (outside(rng) - 1000) / 50;
    Surface big = blank(2100, 2100), window = blank(40, 40);
    window.setScale(1000, 1000, 40, 40);
    for (Surface* s : {&big, &window}) {
      s->setPenWidth(width);
      s->line(x1, y1, x2, y2);
    }
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(window.pixel(x, y), big.pixel(x + 1000, y + 1000))
            << "line " << i << " width " << width << " at " << x << "," << y;
      }
    }
  }
  Surface s = blank(5, 5);
  s.line(-1e12, 2, 1e12, 2);
  s.line(2, 1e15, 2, -1e15);
  EXPECT_EQ(picture(s, kBlack), rows({"..#..", "..#..", "#####", "..#..", "..#.."}));
}

// Wide lines and dots hold the pixels within w/2 of the rounded ends' segment (even w: -0.5).
TEST(WideLine, CoversExactlyThePixelsWithinHalfTheWidth) {
  std::mt19937 rng(14);
  std::uniform_real_distribution<double> coordinate(-10.0, 60.0);
  for (int i = 0; i < 240; ++i) {
    const int width = 2 + i % 6;
    Surface s = blank(50, 50);
    s.setPenWidth(width);
    const double x1 = coordinate(rng), y1 = coordinate(rng);
    const double x2 = i % 5 == 0 ? x1 : coordinate(rng), y2 = i % 5 == 0 ? y1 : coordinate(rng);
    if (i % 5 == 0) {
      s.dot(x1, y1);
    } else {
      s.line(x1, y1, x2, y2);
    }
    const double shift = width % 2 == 0 ? -0.5 : 0.0;
    const double ax = std::nearbyint(x1) + shift, ay = std::nearbyint(y1) + shift;
    const double dx = std::nearbyint(x2) + shift - ax, dy = std::nearbyint(y2) + shift - ay;
    const double length2 = dx * dx + dy * dy;
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 50; ++x) {
        const double t =
            length2 == 0 ? 0 : std::clamp(((x - ax) * dx + (y - ay) * dy) / length2, 0.0, 1.0);
        const double distance = std::hypot(x - ax - t * dx, y - ay - t * dy);
        ASSERT_TRUE(std::fabs(distance - width / 2.0) <= 1e-6 ||
                    s.pixel(x, y) == (distance < width / 2.0 ? kBlack : kWhite))
            << i << ": " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace orbelle::raster
