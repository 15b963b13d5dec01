// Markers stay on their places through map changes, checked against an independent projection.

#include <cmath>

#include "form_fixture.hpp"
#include "reference_sphere.hpp"

namespace orbelle::shell::test {
namespace {

using geo::testing::Position;
using MarkerPlacesTest = FormTest;

// Where a position lies on an image of `side` pixels for a station and a radius in miles (statute
// miles per degree of arc: the map's definition of its scale).
QPointF expectedPixel(Position station, Position p, double radius, int side) {
  const geo::testing::Reference r =
      geo::testing::referenceArcBearing(station.lat, station.lon, p.lat, p.lon);
  const long double miles = r.arcDegrees * 60.0 * 1.1512;
  const long double bearing = r.bearing * 3.14159265358979323846L / 180.0L;
  const double milesPerPixel = 2.0 * radius / side;
  return {(static_cast<double>(miles * std::sin(bearing)) + radius) / milesPerPixel,
          (radius - static_cast<double>(miles * std::cos(bearing))) / milesPerPixel};
}

// After a pass for a new station, the markers of spots added before it sit on their new places.
TEST_F(MarkerPlacesTest, MarkersSitOnTheirPlacesAfterAPassForANewStation) {
  // The last one lies beyond the map's 9000 miles.
  const Position places[] = {
      {51.5, -0.1}, {-22.9, -43.2}, {34.05, -118.25}, {35.7, 139.7}, {-33.9, 151.2}};
  const double radius = 9000.0;
  writeOutlines(2);
  Form1& f = showForm();
  f.model().setLatitudeFromHost(40.7);
  f.model().setLongitudeFromHost(-74.0);
  f.model().setMaxDxMiFromHost(9000);
  f.model().cmdDraw_Click();
  for (const Position& p : places) {
    spots::SpotArgs spot;
    spot.LatDeg = p.lat;
    spot.LonDeg = p.lon;
    spot.SpotByLat = -99.0;  // no spotter: one marker per spot
    f.model().AddSpot(spot);
  }
  f.model().setLatitudeFromHost(48.1);
  f.model().setLongitudeFromHost(11.6);
  f.model().cmdDraw_Click();
  QCoreApplication::processEvents();
  const int side = f.model().layers().width();
  for (int i = 1; i <= 5; ++i) {
    SCOPED_TRACE(i);
    const QPointF want = expectedPixel({48.1, 11.6}, places[i - 1], radius, side);
    const bool onMap =
        want.x() > -3.5 && want.x() < side + 2.5 && want.y() > -3.5 && want.y() < side + 2.5;
    SpotMarker* marker = f.spotLayer().lblSpots(i);
    EXPECT_EQ(marker->isVisibleTo(f.controls().Picture1), onMap);
    const QPointF centre =
        marker->pos() - f.controls().Picture1->imageRect().topLeft() + QPoint(3, 3);
    if (onMap) {
      EXPECT_NEAR(centre.x(), want.x(), 1.0);
      EXPECT_NEAR(centre.y(), want.y(), 1.0);
    }
  }
}

}  // namespace
}  // namespace orbelle::shell::test
