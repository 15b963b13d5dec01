// The surface: refusals, spans, the lines and shapes drawn on it, and flood fills.

#include "raster/surface.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "raster/color.hpp"
#include "raster/fill.hpp"

namespace orbelle::raster {
namespace {

// Small surfaces as text pictures, top row first: '#' is the ink colour, '.' any other.
std::string picture(const Surface& surface, Rgb ink) {
  std::string text;
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) text += surface.pixel(x, y) == ink ? '#' : '.';
    text += y + 1 < surface.height() ? "\n" : "";
  }
  return text;
}

// The literal pictures of the tests, one string per row.
std::string rows(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += (text.empty() ? "" : "\n") + std::string(line);
  return text;
}

// A white surface with a black pen.
Surface blank(int width, int height) {
  Surface s(width, height, kWhite);
  s.setColor(kBlack);
  return s;
}

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

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

// Spans are clipped to the surface and honour the mode; clearing ignores the mode.
TEST(Surface, SpansAreClippedAndHonourTheModeClearDoesNot) {
  Surface s(5, 2, kWhite);
  s.plotSpan(0, -3, 1, kBlack);
  s.plotSpan(1, 3, 99, kBlack);
  s.plotSpan(7, 0, 4, kBlack);  // no such row
  s.plotSpan(0, 4, 3, kBlack);  // empty run
  s.plotSpan(0, 5, 5, kBlack);  // just past the right edge: not the next row's first pixel
  for (auto [x, y] : {std::pair{-1, 0}, {5, 0}, {0, 2}}) s.plotPixel(x, y, kBlack);
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

// Half-way steps are pixel-exact (the tie rule; shallow and steep steps are counted below); the
// current point moves with lineTo and line, a line or dot in an explicit colour leaves the pen's
// colour.
TEST(ThinLine, StepsAreExactAndTheCurrentPointMoves) {
  Surface halfWay = blank(5, 3);
  halfWay.line(4, 2, 0, 0);
  EXPECT_EQ(picture(halfWay, kBlack), rows({"#....", ".##..", "...##"}));
  Surface far = blank(5, 5);  // far-away ends are clipped, not wrapped
  far.line(-1e12, 2, 1e12, 2);
  far.line(2, 1e15, 2, -1e15);
  EXPECT_EQ(picture(far, kBlack), rows({"..#..", "..#..", "#####", "..#..", "..#.."}));
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

// Reversed lines give the same pixels; thin ones between whole pixels hold one pixel per step,
// both ends included.
TEST(ThinLine, ReversedLinesAreTheSameAndThinOnesHaveOnePixelPerStep) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> coordinate(-5.0, 45.0);
  for (int i = 0; i < 1600; ++i) {
    const int width = 1 + i % 4;
    double x1 = coordinate(rng), y1 = coordinate(rng), x2 = coordinate(rng), y2 = coordinate(rng);
    if (i % 8 == 0) {  // whole pixels on the surface
      for (double* v : {&x1, &y1, &x2, &y2}) *v = std::clamp(std::round(*v), 0.0, 39.0);
    }
    Surface a = blank(40, 40), b = blank(40, 40);
    a.setPenWidth(width);
    b.setPenWidth(width);
    a.line(x1, y1, x2, y2);
    b.line(x2, y2, x1, y1);
    const std::string p = picture(a, kBlack);
    ASSERT_EQ(p, picture(b, kBlack)) << x1 << "," << y1 << " " << x2 << "," << y2 << " " << width;
    if (i % 8 != 0) continue;
    EXPECT_EQ(std::count(p.begin(), p.end(), '#'),
              1 + std::max(std::fabs(x2 - x1), std::fabs(y2 - y1)));
    EXPECT_EQ(std::tuple(a.pixel(x1, y1), a.pixel(x2, y2)), std::tuple(kBlack, kBlack));
  }
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

constexpr double kPi = 3.141592653589793;

// Rings hold the pixels within half the pen of the radius (an even pen, the rounding's edge); a
// full-turn arc is the circle.
TEST(Circle, RingHoldsThePixelsWithinHalfThePenOfTheRadius) {
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

// Angles turn anticlockwise on the screen from growing x; an end below the start wraps through 0;
// the map's azimuth marks: a very short arc with a wide pen is a round mark of the pen's width.
TEST(Arc, QuadrantsWrapAndShortWideArcs) {
  Surface s = blank(31, 31), right = blank(31, 31);
  s.arc(15, 15, 10, 0, kPi / 2);
  right.arc(15, 15, 10, 3 * kPi / 2, kPi / 2);
  // The pixels at 0°, 90°, 180° and 270° on the ring.
  for (auto [x, y, quarter, wrapped] : {std::tuple{25, 15, kBlack, kBlack},
                                        {15, 5, kBlack, kBlack},
                                        {5, 15, kWhite, kWhite},
                                        {15, 25, kWhite, kBlack}}) {
    EXPECT_EQ(std::tuple(s.pixel(x, y), right.pixel(x, y)), std::tuple(quarter, wrapped))
        << x << "," << y;
  }
  Surface mark = blank(41, 41);
  mark.setPenWidth(4);
  const double angle = 30 * kPi / 180, mx = 20 + 15 * std::cos(angle),
               my = 20 - 15 * std::sin(angle);
  mark.arc(20, 20, 15, angle - 0.001, angle + 0.001);
  int drawn = 0;
  for (int i = 0; i < 41 * 41; ++i) {
    if (mark.pixel(i % 41, i / 41) != kBlack) continue;
    ++drawn;
    EXPECT_LE(std::hypot(i % 41 - mx, i / 41 - my), 2.05) << i % 41 << "," << i / 41;
  }
  EXPECT_TRUE(drawn >= 10 && drawn <= 16) << drawn;
}

// Every primitive writes each pixel once: XOR twice restores the surface, XOR white once matches
// a copy in black; a window scaled onto part of the surface shows exactly what it shows there.
TEST(EveryPrimitive, XorTwiceRestoresAndClippingNeverMovesAPixel) {
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
    Surface s = noise, xored(60, 60, kWhite), copied(60, 60, kWhite), window = blank(20, 20);
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
    window.setScale(20, 20, 20, 20);
    draw(window);
    for (int j = 0; j < 400; ++j)
      ASSERT_EQ(window.pixel(j % 20, j / 20), copied.pixel(20 + j % 20, 20 + j / 20))
          << i << ": " << j;
  }
}

// Regions are 4-connected pixels of one exact colour whose spans cover each pixel once; walking
// paints nothing; seeds off the surface fill nothing.
TEST(FloodFill, FillsTheFourConnectedRegionOfOneExactColour) {
  Surface s = blank(7, 5);
  s.line(1, 0, 1, 4);
  s.line(5, 0, 5, 4);
  s.line(1, 2, 5, 2);
  s.plotPixel(3, 0, rgb(255, 255, 254));  // one bit off white: not part of the region
  const Surface before = s;
  const FillRegion region = findRegion(s, 2, 1);
  EXPECT_EQ(region.color, kWhite);
  EXPECT_EQ(std::tuple(region.minX, region.maxX, region.minY, region.maxY), std::tuple(2, 4, 0, 1));
  std::vector<int> hits(35, 0);
  for (const Span& span : region.spans) {
    for (int x = span.x0; x <= span.x1; ++x) ++hits[span.y * 7 + x];
  }
  EXPECT_EQ(std::count(hits.begin(), hits.end(), 1), 5);
  EXPECT_EQ(std::count(hits.begin(), hits.end(), 1), region.pixelCount);
  EXPECT_EQ(picture(s, kWhite), picture(before, kWhite));
  EXPECT_EQ(floodFill(s, 2, 1, kRed), 5);
  EXPECT_EQ(picture(s, kRed), rows({"..#.#..", "..###..", ".......", ".......", "......."}));

  Surface diagonal = blank(4, 4);
  diagonal.line(0, 3, 3, 0);  // 8-connected: its corners do not connect the two sides
  EXPECT_EQ(floodFill(diagonal, 0, 0, kRed), 6);
  EXPECT_EQ(diagonal.pixel(3, 3), kWhite);
  EXPECT_TRUE(findRegion(diagonal, -1, 0).empty());
  EXPECT_EQ(floodFill(diagonal, 4, 0, kRed) + floodFill(diagonal, 0, 99, kRed), 0);

  s.setMode(DrawMode::Xor);  // painting honours the mode
  paintRegion(s, region, rgb(0, 255, 0));
  EXPECT_EQ(s.pixel(2, 1), rgb(255, 255, 0));
}

// A serpentine corridor one pixel wide: tens of thousands of runs, no recursion to overflow.
TEST(FloodFill, LongCorridorIsFilledWhole) {
  const int size = 1001;
  Surface s = blank(size, size);
  std::int64_t corridor = static_cast<std::int64_t>((size + 1) / 2) * size;
  for (int y = 1; y < size; y += 2, ++corridor) {  // walls with a gap at alternate ends
    s.line((y / 2) % 2 == 0 ? 0 : 1, y, (y / 2) % 2 == 0 ? size - 2 : size - 1, y);
  }
  EXPECT_EQ(floodFill(s, 0, 0, kRed), corridor);
  EXPECT_EQ(s.pixel(size - 1, size - 1), kRed);
}

}  // namespace
}  // namespace orbelle::raster
