#include "plane/pointer.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace orbelle::geo {
namespace {

// A surface 600 pixels square inside, at 15 twips per pixel, scaled to a radius of 1000 miles.
const PointerScale kScale{9000.0, 9000.0, 1000.0};

PlanePosition at(double pxX, double pxY) { return planeOfPointer(pxX * 15.0, pxY * 15.0, kScale); }

// Plane positions from the image corner in single precision; no surface gives the centre.
TEST(PointerRules, PlanePositionFromTheImageCornerInSinglePrecision) {
  const std::tuple<double, double, float, float> cases[] = {
      {0, 0, -1000.0f, 1000.0f}, {300, 300, 0.0f, 0.0f}, {450, 150, 500.0f, 500.0f}};
  for (auto [pxX, pxY, x, y] : cases)
    EXPECT_EQ(std::pair(at(pxX, pxY).x, at(pxX, pxY).y), std::pair(x, y)) << pxX << ", " << pxY;
  // A third of a 600-pixel span of 2000 miles is not exact: the readout carries the float value,
  // whose distance rounds down as a float would.
  const PlanePosition p = planeOfPointer(15.0, 4500.0, PointerScale{9000.0, 9000.0, 12437.0});
  EXPECT_EQ(p.x, static_cast<float>(15.0 * (2.0 * 12437.0 / 9000.0) - 12437.0));
  EXPECT_EQ(readoutOf(p).miles, 12395);
  const PlanePosition empty = planeOfPointer(10.0, 10.0, PointerScale{0.0, 0.0, 1000.0});
  EXPECT_EQ(std::pair(empty.x, empty.y), std::pair(0.0f, 0.0f));
}

// Headings are whole degrees rounded down, 1..360 (116.57 to 116, -63.43 to 296, just right of
// north folds from 0 to 360); distances are not bounded by the radius; the right button asks for
// the long path (from due west 270 folds to 90, from south to 360).
TEST(PointerRules, HeadingsDistancesAndTheLongPath) {
  const std::tuple<float, float, int> cases[] = {{0.001f, 1.0f, 360},
                                                 {-0.001f, 1.0f, 359},
                                                 {2.0f, -1.0f, 116},
                                                 {-2.0f, 1.0f, 296},
                                                 {0.0f, -1.0f, 180}};
  for (auto [x, y, heading] : cases) EXPECT_EQ(headingOf({x, y}), heading) << x << ", " << y;
  EXPECT_EQ(std::pair(headingOf(at(299, 0)), headingOf(at(301, 0))), std::pair(359, 360));
  Readout r = readoutOf(planeOfPointer(9000.0, 4500.0, kScale));
  EXPECT_EQ(std::tuple(r.heading, r.miles, r.km),
            std::tuple(90, std::int64_t{1000}, std::int64_t{1609}));
  const std::tuple<PlanePosition, int, int> buttons[] = {{at(450, 300), kMiddleButton, 90},
                                                         {at(450, 300), kRightButton, 270},
                                                         {at(300, 300), kRightButton, 180},
                                                         {at(0, 300), kRightButton, 90},
                                                         {at(300, 599), kRightButton, 360}};
  for (auto [position, button, heading] : buttons)
    EXPECT_EQ(rotorHeading(position, button), heading) << position.x << ", " << button;
}

}  // namespace
}  // namespace orbelle::geo
