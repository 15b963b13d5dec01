#include "spots/marker_press.hpp"

#include <gtest/gtest.h>

#include "plane/pointer.hpp"

namespace orbelle::spots {
namespace {

// The short path for every button but the right one, whose long path is folded into (0, 360];
// a spotter marker aims at the spotter, here due west of a station at (0, 0).
TEST(MarkerPress, HeadingsForEachButtonAndMarker) {
  struct Case {
    double latHere, lonHere, lat, lon;
    MarkerKind kind;
    int button;
    double heading;
  };
  const Case cases[] = {
      {0, 0, 0, 90, MarkerKind::Spot, geo::kLeftButton, 90},
      {0, 0, -10, 0, MarkerKind::Spot, geo::kMiddleButton, 180},
      {0, 0, 10, 0, MarkerKind::Spot, geo::kLeftButton, 0},  // north stays 0 on the short path
      {0, 0, 10, 0, MarkerKind::Spot, 0, 0},
      {0, 0, -10, 0, MarkerKind::Spot, geo::kRightButton, 360},
      {40, -75, 51.5, 0, MarkerKind::Spot, geo::kLeftButton, 50.48},
      {40, -75, 51.5, 0, MarkerKind::Spot, geo::kRightButton, 230.48},
      {0, 0, 0, 90, MarkerKind::Spotter, geo::kLeftButton, 270},
      {0, 0, 0, 90, MarkerKind::Spotter, geo::kRightButton, 90},
  };
  for (const Case& c : cases) {
    SpotRow row;
    row.LatDeg = c.lat;
    row.LonDeg = c.lon;
    row.SpotByLon = -45.0;
    EXPECT_NEAR(pressHeading(c.latHere, c.lonHere, row, c.kind, c.button), c.heading, 0.005)
        << c.lat << ", " << c.lon << " button " << c.button;
  }
}

}  // namespace
}  // namespace orbelle::spots
