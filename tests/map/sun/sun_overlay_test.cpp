#include "sun/sun_overlay.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/projection.hpp"
#include "overlay_fixture.hpp"
#include "raster/fill.hpp"

namespace orbelle {
namespace {

using testing::FakeWindow;
using testing::MapScene;

// 12:00 UTC on day number 80 (an equinox of the model): the sun stands over (0, 0).
DateTime equinoxNoon() { return DateTime{DateSerial(2024, 1, 1).serial + 80.5}; }

std::vector<raster::Pixel> pixelsOf(const raster::Surface& s) {
  return {s.pixels(), s.pixels() + s.width() * s.height()};
}

TEST(GrayLineStep, FollowsTheStationsDistanceFromTheTerminator) {
  EXPECT_EQ(grayLineStep(6218.78), 0.01);
  EXPECT_NEAR(grayLineStep(90 * 60 * 1.1512), 0.00921, 1e-5);
  EXPECT_NEAR(grayLineStep(6318.78), 0.4, 1e-4);
  EXPECT_EQ(grayLineStep(6468.782657780989), 1.0);
  EXPECT_EQ(grayLineStep(5968.782657780989), 1.0);
  EXPECT_NEAR(grayLineStep(6468.78), 0.99999, 1e-5);
  EXPECT_LT(grayLineStep(6468.78), 1.0);
  EXPECT_EQ(grayLineStep(0), 1.0);
  EXPECT_EQ(grayLineStep(12432.96), 1.0);
  EXPECT_DOUBLE_EQ(grayLineStep(kQuarterCircumference + 2), 0.008);
  EXPECT_DOUBLE_EQ(grayLineStep(kQuarterCircumference - 2), 0.008);
  EXPECT_EQ(grayLineStep(kQuarterCircumference + 1.999), 0.01);
  EXPECT_EQ(grayLineStep(NAN), 0.01);
}

TEST(StretchedGraySegment, OnlySegmentsAcrossTheAntipode) {
  // Both ends just off the antipode of (0, 0), on either side: drawn, it would cross the map.
  EXPECT_TRUE(isStretchedGraySegment({0, 12426}, {0, -12426}, 0.1, 180, -0.1, 180));
  // A coarse segment where the terminator turns, 10,600 miles out: 439 miles long, 2,850 on the
  // map (the map's own scale there), so it is drawn.
  EXPECT_FALSE(isStretchedGraySegment({-1983.99, 10528.8}, {863.502, 10710.2}, 74.8362, 278.762,
                                      75.5081, -56.3618));
  EXPECT_FALSE(isStretchedGraySegment({0, 0}, {60, 0}, 0, 0, 0, 0.87));
  EXPECT_FALSE(isStretchedGraySegment({0, 0}, {0, 0}, 10, 10, 10, 10));
}

TEST(SunOverlay, WhileDrawingNothingChanges) {
  MapScene scene(0, 0, 12437);
  scene.plane.PathShown = true;
  scene.plane.PathX = 3000;
  scene.plane.PathY = 100;
  FakeWindow window;
  window.drawing = true;
  window.mapCached = true;
  const auto before = pixelsOf(scene.surface);
  SunOverlay overlay(fixedClock(equinoxNoon()));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  EXPECT_TRUE(window.paintDeferred);
  EXPECT_TRUE(window.calls.empty());
  EXPECT_EQ(pixelsOf(scene.surface), before);
}

TEST(SunOverlay, WithoutSunOrPathOnlyPaintDeferredIsCleared) {
  MapScene scene(0, 0, 12437);
  FakeWindow window;
  window.showSun = false;
  window.mapCached = true;
  const auto before = pixelsOf(scene.surface);
  SunOverlay overlay(fixedClock(equinoxNoon()));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  EXPECT_FALSE(window.paintDeferred);
  EXPECT_EQ(window.calls, std::vector<std::string>{"clearPaintDeferred"});
  EXPECT_EQ(pixelsOf(scene.surface), before);
}

TEST(SunOverlay, WithoutSunThePathIsRedrawnInXorEachTime) {
  MapScene scene(0, 0, 12437);
  scene.surface.clear(raster::rgb(0, 128, 0));
  scene.plane.PathShown = true;
  scene.plane.PathX = 6000;
  scene.plane.PathY = 0;
  FakeWindow window;
  window.showSun = false;
  SunOverlay overlay(fixedClock(equinoxNoon()));
  const geo::MapPoint onPath{3000, 0};

  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  EXPECT_EQ(scene.at(onPath), raster::rgb(255, 127, 255));  // green XOR white
  EXPECT_EQ(scene.at({0, 0}), raster::kRed);                // station marker in copy mode
  EXPECT_EQ(scene.surface.mode(), raster::DrawMode::Copy);

  overlay.SunTimer_Timer(window, scene.plane, scene.surface);  // no reload: XOR undoes it
  EXPECT_EQ(scene.at(onPath), raster::rgb(0, 128, 0));
  EXPECT_TRUE(scene.plane.PathShown);
  EXPECT_EQ(scene.plane.PathX, 6000);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"clearPaintDeferred", "clearPaintDeferred"}));
}

TEST(SunOverlay, ReloadsTheCacheYieldsOnceThenDraws) {
  MapScene scene(0, 0, 12437);
  FakeWindow window;
  window.mapCached = true;
  bool drawnBeforeEvents = true;
  window.onReload = [&] { scene.surface.clear(raster::rgb(128, 192, 255)); };
  window.onEvents = [&] { drawnBeforeEvents = scene.at({0, 0}) != raster::rgb(128, 192, 255); };
  SunOverlay overlay(fixedClock(equinoxNoon()));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"clearPaintDeferred", "reload", "events"}));
  EXPECT_FALSE(drawnBeforeEvents);
  EXPECT_EQ(scene.at({0, 0}), kSunColor);  // the sun stands over the station
  EXPECT_EQ(scene.surface.penWidth(), kGrayLineWidth);
}

TEST(SunOverlay, FailedReloadDrawsOverWhatIsShown) {
  MapScene scene(0, 0, 12437);
  FakeWindow window;
  window.mapCached = true;
  window.reloadFails = true;
  SunOverlay overlay(fixedClock(equinoxNoon()));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"clearPaintDeferred", "reload"}));
  EXPECT_FALSE(window.mapCached);
  EXPECT_EQ(scene.at({0, 0}), kSunColor);
}

TEST(SunOverlay, StateChangedWhileEventsRunIsUsed) {
  MapScene scene(0, 0, 12437);
  FakeWindow window;
  window.mapCached = true;
  window.onEvents = [&] {
    scene.plane.LatHere = 45;
    window.utcOffsetSeconds = 3600;
  };
  SunOverlay overlay(fixedClock(equinoxNoon()));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  EXPECT_EQ(overlay.grayLine().GrayHomeLat, 45);
  EXPECT_EQ(overlay.grayLine().SunLon, -15);
}

TEST(SunOverlay, UtcIsTheLocalClockPlusTheOffset) {
  MapScene scene(0, 0, 12437);
  FakeWindow window;
  window.utcOffsetSeconds = 5 * 3600 + 0.4;  // rounded to whole seconds
  const DateTime localSeven = makeDateTime(2024, 3, 21, 7, 0, 0);
  SunOverlay overlay(fixedClock(localSeven));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  EXPECT_EQ(overlay.grayLine().SunLon, 0);
  window.utcOffsetSeconds = -7 * 3600;
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  EXPECT_EQ(overlay.grayLine().SunLon, 180);
}

TEST(SunOverlay, GrayLineIsAClosedLoopAroundTheSubSolarStation) {
  // Sun overhead: the terminator is the circle 90 degrees of arc away.
  MapScene scene(0, 0, 12437);
  FakeWindow window;
  SunOverlay overlay(fixedClock(equinoxNoon()));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  const GrayLineFigures& f = overlay.lastGrayLine();
  EXPECT_EQ(f.step, 1.0);
  EXPECT_EQ(f.points, 360);
  EXPECT_EQ(f.segmentsDrawn, 360);  // 359 in the loop and the closing one
  EXPECT_EQ(f.segmentsSkipped, 0);
  for (int bearing = 0; bearing < 360; bearing += 5) {
    const double r = bearing * 3.14159265358979 / 180;
    EXPECT_TRUE(scene.near({6213.68 * std::sin(r), 6213.68 * std::cos(r)}, kGrayLineColor))
        << bearing;
  }
  // A fill from inside the loop stays inside it.
  const geo::PixelIndex inside = geo::pixelIndexOf(scene.plane, scene.surface, {3000, 0});
  const raster::FillRegion region = raster::findRegion(scene.surface, inside.px, inside.py);
  EXPECT_FALSE(region.empty());
  EXPECT_GT(region.minX, 0);
  EXPECT_LT(region.maxX, 599);
  EXPECT_GT(region.minY, 0);
  EXPECT_LT(region.maxY, 599);
}

TEST(SunOverlay, SegmentAcrossTheAntipodeIsNotDrawn) {
  // At 06:00 UTC on day 80 the station (0, 0) lies on the terminator: the line runs through the
  // station and through its antipode, where the closing segment would span the whole map.
  MapScene scene(0, 0, 12437);
  FakeWindow window;
  SunOverlay overlay(fixedClock(DateTime{DateSerial(2024, 1, 1).serial + 80.25}));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  const GrayLineFigures& f = overlay.lastGrayLine();
  EXPECT_NEAR(f.step, 0.00921, 1e-5);
  EXPECT_GT(f.points, 38000);
  EXPECT_GE(f.segmentsSkipped, 1);
  EXPECT_LE(f.segmentsSkipped, 10);
  EXPECT_EQ(f.points, f.segmentsDrawn + f.segmentsSkipped);
  // The meridian through the station is drawn; the map off that line is untouched.
  EXPECT_TRUE(scene.near({0, 3000}, kGrayLineColor));
  EXPECT_TRUE(scene.near({0, -9000}, kGrayLineColor));
  EXPECT_EQ(scene.at({3000, 0}), raster::kWhite);
  EXPECT_EQ(scene.at({-3000, 0}), raster::kWhite);
}

TEST(DrawSunOverlay, HeadlessPictureGetsSunGrayLineAndOnePathLine) {
  MapScene scene(40, -75, 12437);
  scene.surface.clear(raster::rgb(0, 128, 0));
  drawSunOverlay(scene.surface, scene.plane, equinoxNoon(), true, PathTarget{40, 0});
  EXPECT_TRUE(scene.plane.PathShown);
  const geo::MapPoint sun = geo::ProjectPoint(40, -75, 0, 0);
  EXPECT_EQ(scene.at(sun), kSunColor);
  const geo::MapPoint halfway{scene.plane.PathX / 2.0, scene.plane.PathY / 2.0};
  EXPECT_TRUE(scene.near(halfway, raster::rgb(255, 127, 255)));  // green XOR white
  EXPECT_EQ(scene.at({0, 0}), raster::kRed);
}

}  // namespace
}  // namespace orbelle
