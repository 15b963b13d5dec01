#include "plane/pointer.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace orbelle::geo {
namespace {

// A surface 600 pixels square inside, at 15 twips per pixel, scaled to a radius of 1000 miles.
const PointerScale kScale{9000.0, 9000.0, 1000.0};

PlanePosition at(double pxX, double pxY) { return planeOfPointer(pxX * 15.0, pxY * 15.0, kScale); }

TEST(PointerRules, PlanePositionFromTheImageCornerInSinglePrecision) {
  const std::tuple<double, double, float, float> cases[] = {
      {0, 0, -1000.0f, 1000.0f}, {300, 300, 0.0f, 0.0f}, {450, 150, 500.0f, 500.0f}};
  for (auto [pxX, pxY, x, y] : cases) {
    const PlanePosition p = at(pxX, pxY);
    EXPECT_FLOAT_EQ(p.x, x) << pxX << ", " << pxY;
    EXPECT_FLOAT_EQ(p.y, y) << pxX << ", " << pxY;
  }
  // A third of a 600-pixel span of 2000 miles is not exact: the readout carries the float value,
  // whose distance rounds down as a float would.
  const PlanePosition p = planeOfPointer(15.0, 4500.0, PointerScale{9000.0, 9000.0, 12437.0});
  EXPECT_EQ(p.x, static_cast<float>(15.0 * (2.0 * 12437.0 / 9000.0) - 12437.0));
  EXPECT_EQ(readoutOf(p).miles, 12395);
  const PlanePosition empty = planeOfPointer(10.0, 10.0, PointerScale{0.0, 0.0, 1000.0});
  EXPECT_EQ(std::pair(empty.x, empty.y), std::pair(0.0f, 0.0f));  // no surface: the centre
}

// Headings are whole degrees rounded down, 1..360: just right of north folds from 0 to 360.
TEST(PointerRules, HeadingIsRoundedDownNeverZero) {
  const std::tuple<float, float, int> cases[] = {
      {0.001f, 1.0f, 360}, {-0.001f, 1.0f, 359}, {2.0f, -1.0f, 116},  // 116.57
      {-1.0f, -2.0f, 206},                                            // 206.57
      {-2.0f, 1.0f, 296},                                             // -63.43 down to -64
      {0.0f, -1.0f, 180},  {1.0f, 0.0f, 90},     {-1.0f, 0.0f, 270}};
  for (auto [x, y, heading] : cases) EXPECT_EQ(headingOf({x, y}), heading) << x << ", " << y;
  EXPECT_EQ(headingOf(at(299, 0)), 359);
  EXPECT_EQ(headingOf(at(301, 0)), 360);  // 0.19 degrees east of north
}

TEST(PointerRules, RightEdgeAtMidHeightIsTheRadiusAndCornersReachFurther) {
  Readout r = readoutOf(planeOfPointer(9000.0, 4500.0, kScale));
  EXPECT_EQ(std::tuple(r.heading, r.miles, r.km),
            std::tuple(90, std::int64_t{1000}, std::int64_t{1609}));
  r = readoutOf(planeOfPointer(9000.0, 0.0, kScale));
  EXPECT_EQ(std::pair(r.heading, r.miles),
            std::pair(45, std::int64_t{1414}));  // not bounded by the radius
}

// The right button asks for the long path: from due west (270) it folds to 90, from south to 360.
TEST(PointerRules, RightButtonAsksForTheLongPath) {
  const PlanePosition east = at(450, 300);
  EXPECT_EQ(rotorHeading(east, kLeftButton), 90);
  EXPECT_EQ(rotorHeading(east, kMiddleButton), 90);
  EXPECT_EQ(rotorHeading(east, kRightButton), 270);
  EXPECT_EQ(rotorHeading(at(300, 300), kRightButton), 180);
  EXPECT_EQ(rotorHeading(at(0, 300), kRightButton), 90);
  EXPECT_EQ(rotorHeading(at(300, 599), kRightButton), 360);
}

}  // namespace
}  // namespace orbelle::geo
