#include "plane/pointer.hpp"

#include <gtest/gtest.h>

namespace orbelle::geo {
namespace {

// A surface 600 pixels square inside, at 15 twips per pixel, scaled to a radius of 1000 miles.
const PointerScale kScale{9000.0, 9000.0, 1000.0};

PlanePosition at(double pxX, double pxY) { return planeOfPointer(pxX * 15.0, pxY * 15.0, kScale); }

TEST(PointerRules, PlanePositionFromTheImageCorner) {
  PlanePosition p = at(0, 0);
  EXPECT_FLOAT_EQ(p.x, -1000.0f);
  EXPECT_FLOAT_EQ(p.y, 1000.0f);
  p = at(300, 300);
  EXPECT_FLOAT_EQ(p.x, 0.0f);
  EXPECT_FLOAT_EQ(p.y, 0.0f);
  p = at(450, 150);
  EXPECT_FLOAT_EQ(p.x, 500.0f);
  EXPECT_FLOAT_EQ(p.y, 500.0f);
}

TEST(PointerRules, HeadingsOfTheFourSidesAndJustLeftOfNorth) {
  EXPECT_EQ(headingOf(at(599, 300)), 90);
  EXPECT_EQ(headingOf(at(300, 599)), 180);
  EXPECT_EQ(headingOf(at(0, 300)), 270);
  EXPECT_EQ(headingOf(at(299, 0)), 359);
  EXPECT_EQ(headingOf(at(300, 0)), 360);
  EXPECT_EQ(headingOf(at(301, 0)), 360);  // 0.19 degrees east of north
}

TEST(PointerRules, HeadingIsRoundedDownNeverZero) {
  // Just right of north: 0.19 degrees rounds down to 0, which folds to 360.
  EXPECT_EQ(headingOf({0.001f, 1.0f}), 360);
  EXPECT_EQ(headingOf({-0.001f, 1.0f}), 359);
  EXPECT_EQ(headingOf({2.0f, -1.0f}), 116);   // 116.57
  EXPECT_EQ(headingOf({-1.0f, -2.0f}), 206);  // 206.57
  EXPECT_EQ(headingOf({-2.0f, 1.0f}), 296);   // -63.43 rounds down to -64
  EXPECT_EQ(headingOf({0.0f, -1.0f}), 180);
}

TEST(PointerRules, RightEdgeAtMidHeightIsTheRadiusAndCornersReachFurther) {
  Readout r = readoutOf(planeOfPointer(9000.0, 4500.0, kScale));
  EXPECT_EQ(r.heading, 90);
  EXPECT_EQ(r.miles, 1000);
  EXPECT_EQ(r.km, 1609);
  r = readoutOf(planeOfPointer(9000.0, 0.0, kScale));
  EXPECT_EQ(r.miles, 1414);  // √2 × 1000, not bounded by the radius
  EXPECT_EQ(r.heading, 45);
}

TEST(PointerRules, RightButtonAsksForTheLongPath) {
  const PlanePosition east = at(450, 300);
  EXPECT_EQ(rotorHeading(east, kLeftButton), 90);
  EXPECT_EQ(rotorHeading(east, kRightButton), 270);
  EXPECT_EQ(rotorHeading(east, kMiddleButton), 90);
  EXPECT_EQ(rotorHeading(at(300, 300), kRightButton), 180);
  // The long path from due west (270) folds to 90, from due south to 360.
  EXPECT_EQ(rotorHeading(at(0, 300), kRightButton), 90);
  EXPECT_EQ(rotorHeading(at(300, 599), kRightButton), 360);
}

TEST(PointerRules, PositionsAreSinglePrecision) {
  // 1/3 of a 600-pixel span of 2000 miles is not representable exactly; the readout carries
  // the float value, whose distance rounds down as a float would.
  const PlanePosition p = planeOfPointer(15.0, 4500.0, PointerScale{9000.0, 9000.0, 12437.0});
  EXPECT_EQ(p.x, static_cast<float>(15.0 * (2.0 * 12437.0 / 9000.0) - 12437.0));
  EXPECT_EQ(readoutOf(p).miles, 12395);
}

TEST(PointerRules, EmptySurfaceGivesTheCentre) {
  const PlanePosition p = planeOfPointer(10.0, 10.0, PointerScale{0.0, 0.0, 1000.0});
  EXPECT_EQ(p.x, 0.0f);
  EXPECT_EQ(p.y, 0.0f);
}

}  // namespace
}  // namespace orbelle::geo
