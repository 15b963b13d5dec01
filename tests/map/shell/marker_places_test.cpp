// Markers stay on their places through map changes, checked against an independent projection.

#include <QPushButton>
#include <cmath>
#include <functional>

#include "form_fixture.hpp"
#include "reference_sphere.hpp"
#include "shell/surface_widget.hpp"
#include "spot_layer.hpp"
#include "spot_marker.hpp"

namespace orbelle::shell::test {
namespace {

using geo::testing::Position;

// Statute miles per degree of arc, the map's definition of its scale.
constexpr double kMilesPerDegree = 60.0 * 1.1512;

// Where a position lies on an image of `side` pixels for a station and a radius in miles.
QPointF expectedPixel(Position station, Position p, double radius, int side) {
  const geo::testing::Reference r =
      geo::testing::referenceArcBearing(station.lat, station.lon, p.lat, p.lon);
  const long double miles = r.arcDegrees * kMilesPerDegree;
  const long double bearing = r.bearing * 3.14159265358979323846L / 180.0L;
  const double x = static_cast<double>(miles * std::sin(bearing));
  const double y = static_cast<double>(miles * std::cos(bearing));
  const double milesPerPixel = 2.0 * radius / side;
  return {(x + radius) / milesPerPixel, (radius - y) / milesPerPixel};
}

struct Spot {
  const char* name;
  Position at;
};

const Spot kSpots[] = {
    {"London", {51.5, -0.1}},
    {"Rio de Janeiro", {-22.9, -43.2}},
    {"Los Angeles", {34.05, -118.25}},
    {"Tokyo", {35.7, 139.7}},
};

struct Change {
  const char* what;
  std::function<void(Form1&)> apply;
  double radius;  // miles the map is scaled to afterwards
};

class MarkerPlacesTest : public FormTest {};

TEST_F(MarkerPlacesTest, MarkersSitOnTheirPlacesAfterEveryChangeOfTheMap) {
  const Change changes[] = {
      {"a pass after a new radius",
       [](Form1& f) {
         f.model().setMaxDxMiFromHost(6000);
         f.model().cmdDraw_Click();
       },
       6000.0},
      {"a pass after a new station",
       [](Form1& f) {
         f.model().setLatitudeFromHost(48.1);
         f.model().setLongitudeFromHost(11.6);
         f.model().cmdDraw_Click();
       },
       9000.0},
      {"a new station before any pass",
       [](Form1& f) {
         f.model().setLatitudeFromHost(-33.9);
         f.model().setLongitudeFromHost(151.2);
       },
       9000.0},
      {"a new surface size", [](Form1& f) { f.SetPixelSize(450); }, 9000.0},
      {"whole Earth and a pass",
       [](Form1& f) {
         f.controls().cmdSetup->click();
         f.controls().cmdWholeEarth->click();
         f.controls().cmdDraw->click();
       },
       12437.0},
  };
  writeOutlines(2);
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    Form1& f = showForm();
    f.model().setLatitudeFromHost(40.7);
    f.model().setLongitudeFromHost(-74.0);
    f.model().setMaxDxMiFromHost(9000);
    f.model().cmdDraw_Click();
    int n = 0;
    for (const Spot& s : kSpots) {
      spots::SpotArgs spot;
      spot.LatDeg = s.at.lat;
      spot.LonDeg = s.at.lon;
      spot.Color = 255;
      spot.SpotByLat = -99.0;  // no spotter: one marker per spot
      spot.SpotCall = s.name;
      f.model().AddSpot(spot);
      ++n;
    }

    change.apply(f);
    processEvents();

    const model::MapState& state = f.model().state();
    const Position station{state.plane.LatHere, state.plane.LonHere};
    const double radius = change.radius;
    const int side = f.model().layers().width();
    const QPoint origin = f.controls().Picture1->imageRect().topLeft();
    for (int i = 1; i <= n; ++i) {
      const Spot& s = kSpots[i - 1];
      SCOPED_TRACE(s.name);
      const QPointF want = expectedPixel(station, s.at, radius, side);
      const bool onMap =
          want.x() > -3.5 && want.x() < side + 2.5 && want.y() > -3.5 && want.y() < side + 2.5;
      SpotMarker* marker = f.spotLayer().lblSpots(i);
      ASSERT_NE(marker, nullptr);
      EXPECT_EQ(marker->isVisibleTo(f.controls().Picture1), onMap);
      if (!onMap) continue;
      const QPoint centre = marker->pos() - origin + QPoint(3, 3);
      EXPECT_NEAR(centre.x(), want.x(), 1.0);
      EXPECT_NEAR(centre.y(), want.y(), 1.0);
    }
  }
}

}  // namespace
}  // namespace orbelle::shell::test
