#include "spots/marker_press.hpp"

#include <gtest/gtest.h>

#include "plane/pointer.hpp"

namespace orbelle::spots {
namespace {

using geo::kLeftButton;
using geo::kMiddleButton;
using geo::kRightButton;

SpotRow rowAt(double lat, double lon) {
  SpotRow row;
  row.LatDeg = lat;
  row.LonDeg = lon;
  row.SpotByLat = 0.0;
  row.SpotByLon = -45.0;  // the spotter lies due west of a station at (0, 0)
  row.SpotFreq = 14025.5;
  row.SpotFreqTX = 14027.0;
  row.Mode = "CW";
  return row;
}

TEST(MarkerPress, OtherButtonsAskForTheShortPath) {
  EXPECT_EQ(pressHeading(0, 0, rowAt(0, 90), MarkerKind::Spot, kLeftButton), 90.0);
  EXPECT_EQ(pressHeading(0, 0, rowAt(-10, 0), MarkerKind::Spot, kMiddleButton), 180.0);
  // North stays 0 on the short path: the bearing is sent as DistanceBearing gives it.
  EXPECT_EQ(pressHeading(0, 0, rowAt(10, 0), MarkerKind::Spot, kLeftButton), 0.0);
  EXPECT_EQ(pressHeading(0, 0, rowAt(10, 0), MarkerKind::Spot, 0), 0.0);
  EXPECT_NEAR(pressHeading(40, -75, rowAt(51.5, 0), MarkerKind::Spot, kLeftButton), 50.48, 0.005);
  EXPECT_NEAR(pressHeading(40, -75, rowAt(51.5, 0), MarkerKind::Spot, kRightButton), 230.48, 0.005);
}

TEST(MarkerPress, SpotterMarkerAimsAtTheSpotter) {
  const SpotRow row = rowAt(0, 90);
  EXPECT_EQ(pressHeading(0, 0, row, MarkerKind::Spotter, kLeftButton), 270.0);
  EXPECT_EQ(pressHeading(0, 0, row, MarkerKind::Spotter, kRightButton), 90.0);
}

}  // namespace
}  // namespace orbelle::spots
