#include "sun/sun_overlay.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/projection.hpp"
#include "overlay_fixture.hpp"

namespace orbelle {
namespace {

using testing::FakeWindow;
using testing::MapScene;

// 12:00 UTC on day number 80 (an equinox of the model): the sun stands over (0, 0).
DateTime equinoxNoon() { return DateTime{DateSerial(2024, 1, 1).serial + 80.5}; }

std::vector<raster::Pixel> pixelsOf(const raster::Surface& s) {
  return {s.pixels(), s.pixels() + s.width() * s.height()};
}

// g = |dsun − 6218.78|: 1 from 250 miles on, g / 250 down to 0.008 at 2 miles, 0.01 below.
TEST(GrayLineStep, FollowsTheStationsDistanceFromTheTerminator) {
  const std::pair<double, double> cases[] = {{6218.78, 0.01},
                                             {90 * 60 * 1.1512, 0.00921},
                                             {6318.78, 0.4},
                                             {6468.78, 0.99999},
                                             {6468.782657780989, 1},
                                             {5968.782657780989, 1},
                                             {0, 1},
                                             {12432.96, 1},
                                             {kQuarterCircumference + 2, 0.008},
                                             {kQuarterCircumference - 2, 0.008},
                                             {kQuarterCircumference + 1.999, 0.01},
                                             {NAN, 0.01}};
  for (const auto& [dsun, step] : cases) EXPECT_NEAR(grayLineStep(dsun), step, 2e-5) << dsun;
  EXPECT_LT(grayLineStep(6468.78), 1.0);
}

// What one refresh asks of the window and whether it draws, for each state of the window; the
// UTC instant is the local clock plus the offset. Without the sun only the path line is drawn
// again (in XOR, as the plane's tests check).
TEST(SunOverlay, AsksTheWindowInOrderAndDrawsOnlyWhenItMay) {
  struct Case {
    const char* what;
    bool drawing, showSun, pathShown, mapCached, reloadFails;
    std::vector<std::string> calls;
    bool draws;
  };
  const Case cases[] = {
      {"while drawing nothing happens", true, true, true, true, false, {}, false},
      {"no sun, no path", false, false, false, true, false, {"clearPaintDeferred"}, false},
      {"no sun, a path", false, false, true, true, false, {"clearPaintDeferred"}, true},
      {"no cached map", false, true, false, false, false, {"clearPaintDeferred", "reload"}, true},
      {"cached", false, true, false, true, false, {"clearPaintDeferred", "reload", "events"}, true},
      {"reload fails", false, true, false, true, true, {"clearPaintDeferred", "reload"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MapScene scene(0, 0, 12437);
    scene.plane.PathShown = c.pathShown;
    scene.plane.PathX = 3000;
    FakeWindow window;
    window.drawing = c.drawing;
    window.showSun = c.showSun;
    window.mapCached = c.mapCached;
    window.reloadFails = c.reloadFails;
    window.utcOffsetSeconds = 5 * 3600 + 0.4;  // rounded to whole seconds: 12:00 UTC
    const auto before = pixelsOf(scene.surface);
    SunOverlay overlay(fixedClock(makeDateTime(2024, 3, 21, 7, 0, 0)));
    overlay.SunTimer_Timer(window, scene.plane, scene.surface);
    EXPECT_EQ(window.calls, c.calls);
    EXPECT_EQ(window.paintDeferred, c.drawing);
    EXPECT_EQ(window.mapCached, c.mapCached && !c.reloadFails);
    EXPECT_EQ(pixelsOf(scene.surface) != before, c.draws);
    if (c.showSun && c.draws) {
      EXPECT_EQ(scene.at({0, 0}), kSunColor);  // the sun stands over the station
      EXPECT_EQ(overlay.grayLine().SunLon, 0);
    }
  }
}

// The cached map comes back, events run once before anything is drawn, and what they change
// (the station, the UTC offset) is what gets drawn.
TEST(SunOverlay, DrawsAfterTheEventsWithWhatTheyChanged) {
  MapScene scene(0, 0, 12437);
  FakeWindow window;
  window.mapCached = true;
  const raster::Rgb cache = raster::rgb(128, 192, 255);
  bool drawnBeforeEvents = true;
  window.onReload = [&] { scene.surface.clear(cache); };
  window.onEvents = [&] {
    drawnBeforeEvents = scene.at({0, 0}) != cache;
    scene.plane.LatHere = 45;
    window.utcOffsetSeconds = 3600;
  };
  SunOverlay overlay(fixedClock(equinoxNoon()));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  EXPECT_FALSE(drawnBeforeEvents);
  EXPECT_EQ(overlay.grayLine().GrayHomeLat, 45);
  EXPECT_EQ(overlay.grayLine().SunLon, -15);
  EXPECT_EQ(scene.surface.penWidth(), kGrayLineWidth);
}

// The sampling of the gray line: the sun over the station (a closed loop of 360 points, 359
// segments and the closing one), and the station on the terminator, whose line runs through the
// antipode, where the segment across it is left out.
TEST(SunOverlay, GrayLineStepsAndSegments) {
  FakeWindow window;
  MapScene scene(0, 0, 12437);
  SunOverlay overlay(fixedClock(equinoxNoon()));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  const GrayLineFigures& f = overlay.lastGrayLine();
  EXPECT_EQ(f.step, 1.0);
  EXPECT_EQ(f.points, 360);
  EXPECT_EQ(f.segmentsDrawn, 360);
  EXPECT_EQ(f.segmentsSkipped, 0);

  SunOverlay dawn(fixedClock(DateTime{DateSerial(2024, 1, 1).serial + 80.25}));
  dawn.SunTimer_Timer(window, scene.plane, scene.surface);
  const GrayLineFigures& g = dawn.lastGrayLine();
  EXPECT_NEAR(g.step, 0.00921, 1e-5);
  EXPECT_GT(g.points, 38000);
  EXPECT_GE(g.segmentsSkipped, 1);
  EXPECT_LE(g.segmentsSkipped, 10);
  EXPECT_EQ(g.points, g.segmentsDrawn + g.segmentsSkipped);
}

// The headless picture: night shading, the sun, the gray line and one path line.
TEST(DrawSunOverlay, HeadlessPictureGetsShadingSunGrayLineAndOnePathLine) {
  MapScene scene(40, -75, 12437);
  scene.surface.clear(raster::rgb(0, 128, 0));
  drawSunOverlay(scene.surface, scene.plane, equinoxNoon(), true, PathTarget{40, 0}, true);
  EXPECT_TRUE(scene.plane.PathShown);
  EXPECT_EQ(scene.at(geo::ProjectPoint(40, -75, 0, 0)), kSunColor);
  const geo::MapPoint halfway{scene.plane.PathX / 2.0, scene.plane.PathY / 2.0};
  EXPECT_TRUE(scene.near(halfway, raster::rgb(255, 127, 255)));  // green XOR white
  EXPECT_EQ(scene.at({0, 0}), raster::kRed);
  // Night at (0, −150), the sun 60° below the horizon: green at 128 / 256.
  EXPECT_EQ(scene.at(geo::ProjectPoint(40, -75, 0, -150)), raster::rgb(0, 64, 0));
}

}  // namespace
}  // namespace orbelle
