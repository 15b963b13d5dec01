#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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

TEST(Circle, RingHoldsThePixelsWithinHalfThePenOfTheRadius) {
  Surface thin = blank(7, 7);
  thin.circle(3, 3, 3);
  EXPECT_EQ(picture(thin, kBlack),
            rows({"..###..", ".#...#.", "#.....#", "#.....#", "#.....#", ".#...#.", "..###.."}));
  Surface two = blank(9, 9);
  two.setPenWidth(2);
  two.circle(4, 4, 3);
  EXPECT_EQ(picture(two, kBlack),
            rows({"....#....", "..#####..", ".###.###.", ".##...##.", "##.....##", ".##...##.",
                  ".###.###.", "..#####..", "....#...."}));
  EXPECT_EQ(two.currentX(), 4.0);
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
        if (s.pixel(x, y) == kRed) {
          ASSERT_LE(std::hypot(x - px, y - py), inner + 1e-9) << i << ": " << x << "," << y;
        }
      }
    }
  }
}

// Angles turn anticlockwise on the screen from growing x; an end below the start wraps through 0.
TEST(Arc, QuarterArcStaysInItsQuadrant) {
  Surface s = blank(31, 31);
  s.arc(15, 15, 10, 0, kPi / 2);
  EXPECT_EQ(s.pixel(25, 15), kBlack);
  EXPECT_EQ(s.pixel(15, 5), kBlack);
  int drawn = 0;
  for (int y = 0; y < 31; ++y) {
    for (int x = 0; x < 31; ++x) {
      if (s.pixel(x, y) != kBlack) continue;
      ++drawn;
      EXPECT_TRUE(x >= 15 && y <= 15) << x << "," << y;
    }
  }
  EXPECT_GE(drawn, 14);  // about a quarter of the ring
  Surface right = blank(31, 31);
  right.arc(15, 15, 10, 3 * kPi / 2, kPi / 2);
  EXPECT_EQ(right.pixel(25, 15), kBlack);
  EXPECT_EQ(right.pixel(15, 25), kBlack);
  EXPECT_EQ(right.pixel(5, 15), kWhite);
}

TEST(Arc, FullTurnIsTheCircle) {
  Surface arc = blank(31, 31), circle = blank(31, 31);
  arc.setPenWidth(2);
  circle.setPenWidth(2);
  arc.arc(15, 15, 10, 1.0, 1.0 + 2 * kPi);
  circle.circle(15, 15, 10);
  EXPECT_EQ(picture(arc, kBlack), picture(circle, kBlack));
}

// The map's azimuth marks: a very short arc with a wide pen is a round mark of the pen's width.
TEST(Arc, ShortArcWithAWidePenIsARoundMark) {
  Surface s = blank(41, 41);
  s.setPenWidth(4);
  const double angle = 30 * kPi / 180;
  s.arc(20, 20, 15, angle - 0.001, angle + 0.001);
  const double mx = 20 + 15 * std::cos(angle), my = 20 - 15 * std::sin(angle);
  int drawn = 0;
  for (int y = 0; y < 41; ++y) {
    for (int x = 0; x < 41; ++x) {
      if (s.pixel(x, y) != kBlack) continue;
      ++drawn;
      EXPECT_LE(std::hypot(x - mx, y - my), 2.05);
    }
  }
  EXPECT_GE(drawn, 10);
  EXPECT_LE(drawn, 16);
}

// Every primitive writes each pixel once: XOR twice restores, XOR white once matches copy.
TEST(XorMode, EveryPrimitiveTwiceRestoresTheSurface) {
  std::mt19937 rng(22);
  std::uniform_real_distribution<double> coordinate(-15.0, 75.0), angle(-7.0, 7.0);
  using Draw = std::function<void(Surface&)>;
  std::vector<Draw> draws;
  for (int i = 0; i < 60; ++i) {
    const double a = coordinate(rng), b = coordinate(rng), c = coordinate(rng), d = coordinate(rng),
                 s = angle(rng), e = angle(rng);
    const int width = 1 + i % 5;
    draws.push_back([=](Surface& sf) {
      sf.setPenWidth(width);
      sf.line(a, b, c, d);
    });
    draws.push_back([=](Surface& sf) {
      sf.setPenWidth(width);
      sf.dot(a, b);
    });
    draws.push_back([=](Surface& sf) {
      sf.setPenWidth(width);
      sf.circle(a, b, std::fabs(c));
    });
    draws.push_back([=](Surface& sf) {
      sf.setPenWidth(width);
      sf.arc(a, b, std::fabs(d), s, e);
    });
  }
  Surface noise(60, 60);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) noise.plotPixel(x, y, static_cast<Rgb>(rng()) & 0xffffff);
  }
  for (std::size_t i = 0; i < draws.size(); ++i) {
    Surface s = noise;
    s.setMode(DrawMode::Xor);
    s.setColor(rgb(255, 170, 85));
    draws[i](s);
    draws[i](s);
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 60; ++x) ASSERT_EQ(s.pixel(x, y), noise.pixel(x, y)) << "draw " << i;
    }

    Surface xored(60, 60, kWhite), copied(60, 60, kWhite);
    xored.setMode(DrawMode::Xor);
    xored.setColor(kWhite);
    copied.setColor(kBlack);
    draws[i](xored);
    draws[i](copied);
    ASSERT_EQ(picture(xored, kBlack), picture(copied, kBlack)) << "draw " << i;
  }
}

}  // namespace
}  // namespace orbelle::raster
