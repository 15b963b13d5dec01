#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

#include "raster/fill.hpp"
#include "raster/surface.hpp"
#include "surface_text.hpp"

namespace orbelle::raster {
namespace {

using testing::blank;
using testing::picture;
using testing::rows;

constexpr double kPi = 3.141592653589793;

// Rings hold the pixels within half the pen of the radius; a full-turn arc is the circle.
TEST(Circle, RingHoldsThePixelsWithinHalfThePenOfTheRadius) {
  Surface thin = blank(7, 7);
  thin.circle(3, 3, 3);
  EXPECT_EQ(picture(thin, kBlack),
            rows({"..###..", ".#...#.", "#.....#", "#.....#", "#.....#", ".#...#.", "..###.."}));
  Surface two = blank(9, 9), arc = blank(9, 9);
  two.setPenWidth(2);
  two.circle(4, 4, 3);
  EXPECT_EQ(picture(two, kBlack),
            rows({"....#....", "..#####..", ".###.###.", ".##...##.", "##.....##", ".##...##.",
                  ".###.###.", "..#####..", "....#...."}));
  EXPECT_EQ(two.currentX(), 4.0);
  arc.setPenWidth(2);
  arc.arc(4, 4, 3, 1.0, 1.0 + 2 * kPi);
  EXPECT_EQ(picture(arc, kBlack), picture(two, kBlack));
}

// A ring of any centre, radius and width is a barrier no fill from its centre crosses.
TEST(Circle, NoFillCrossesIt) {
  std::mt19937 rng(21);
  std::uniform_real_distribution<double> centre(-20.0, 100.0), radius(2.0, 90.0);
  for (int i = 0; i < 300; ++i) {
    Surface s = blank(80, 80);
    const int width = 1 + i % 4;
    s.setPenWidth(width);
    const double cx = centre(rng), cy = centre(rng), r = radius(rng);
    s.circle(cx, cy, r);
    const int px = static_cast<int>(std::nearbyint(cx)), py = static_cast<int>(std::nearbyint(cy));
    const double inner = r - width / 2.0;
    if (inner <= 1.5 || !s.pixel(px, py).has_value()) continue;
    floodFill(s, px, py, kRed);
    for (int y = 0; y < 80; ++y) {
      for (int x = 0; x < 80; ++x) {
        ASSERT_TRUE(s.pixel(x, y) != kRed || std::hypot(x - px, y - py) <= inner + 1e-9)
            << i << ": " << x << "," << y;
      }
    }
  }
}

// Drawn pixels lie within distance of (mx, my) in the quadrant wanted; their count is in range.
void expectDrawnNear(const Surface& s, double mx, double my, double distance, int least, int most,
                     int quadrantX = 0, int quadrantY = 0) {
  int drawn = 0;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      if (s.pixel(x, y) != kBlack) continue;
      ++drawn;
      EXPECT_LE(std::hypot(x - mx, y - my), distance) << x << "," << y;
      EXPECT_GE((x - mx) * quadrantX, 0) << x << "," << y;
      EXPECT_GE((y - my) * quadrantY, 0) << x << "," << y;
    }
  }
  EXPECT_GE(drawn, least);
  EXPECT_LE(drawn, most);
}

// Angles turn anticlockwise on the screen from growing x; an end below the start wraps through 0;
// the map's azimuth marks: a very short arc with a wide pen is a round mark of the pen's width.
TEST(Arc, QuadrantsWrapAndShortWideArcs) {
  Surface s = blank(31, 31);
  s.arc(15, 15, 10, 0, kPi / 2);
  EXPECT_EQ(std::tuple(s.pixel(25, 15), s.pixel(15, 5)), std::tuple(kBlack, kBlack));
  expectDrawnNear(s, 15, 15, 11.0, 14, 24, 1, -1);  // about a quarter of the ring
  Surface right = blank(31, 31);
  right.arc(15, 15, 10, 3 * kPi / 2, kPi / 2);
  EXPECT_EQ(std::tuple(right.pixel(25, 15), right.pixel(15, 25), right.pixel(5, 15)),
            std::tuple(kBlack, kBlack, kWhite));
  Surface mark = blank(41, 41);
  mark.setPenWidth(4);
  const double angle = 30 * kPi / 180;
  mark.arc(20, 20, 15, angle - 0.001, angle + 0.001);
  expectDrawnNear(mark, 20 + 15 * std::cos(angle), 20 - 15 * std::sin(angle), 2.05, 10, 16);
}

// Every primitive writes each pixel once: XOR twice restores the surface, XOR white once matches
// a copy in black.
TEST(XorMode, EveryPrimitiveTwiceRestoresTheSurface) {
  std::mt19937 rng(22);
  std::uniform_real_distribution<double> coordinate(-15.0, 75.0), angle(-7.0, 7.0);
  Surface noise(60, 60);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) noise.plotPixel(x, y, static_cast<Rgb>(rng()) & 0xffffff);
  }
  for (int i = 0; i < 240; ++i) {
    const std::array<double, 6> p{coordinate(rng), coordinate(rng), coordinate(rng),
                                  coordinate(rng), angle(rng),      angle(rng)};
    auto draw = [&](Surface& s) {
      s.setPenWidth(1 + i / 4 % 5);
      if (i % 4 == 0) s.line(p[0], p[1], p[2], p[3]);
      if (i % 4 == 1) s.dot(p[0], p[1]);
      if (i % 4 == 2) s.circle(p[0], p[1], std::fabs(p[2]));
      if (i % 4 == 3) s.arc(p[0], p[1], std::fabs(p[3]), p[4], p[5]);
    };
    Surface s = noise, xored(60, 60, kWhite), copied(60, 60, kWhite);
    s.setMode(DrawMode::Xor);
    s.setColor(rgb(255, 170, 85));
    draw(s);
    draw(s);
    ASSERT_TRUE(std::equal(s.pixels(), s.pixels() + 3600, noise.pixels())) << "draw " << i;
    xored.setMode(DrawMode::Xor);
    xored.setColor(kWhite);
    copied.setColor(kBlack);
    draw(xored);
    draw(copied);
    ASSERT_EQ(picture(xored, kBlack), picture(copied, kBlack)) << "draw " << i;
  }
}

}  // namespace
}  // namespace orbelle::raster
