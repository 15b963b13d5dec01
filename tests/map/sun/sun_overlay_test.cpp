#include "sun/sun_overlay.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "geometry/projection.hpp"
#include "plane/map_plane.hpp"
#include "raster/surface.hpp"

namespace orbelle {
namespace {

constexpr double kRad = 3.14159265358979323846 / 180;

struct FakeWindow final : OverlayWindow {
  bool drawing = false, showSun = true, mapCached = false, reloadFails = false;
  double utcOffsetSeconds = 0;
  std::vector<std::string> calls;
  std::function<void()> onReload;  // runs in place of loading the picture
  std::function<void()> onEvents;  // runs as the pending events

  bool Drawing() const override { return drawing; }
  void clearPaintDeferred() override { calls.push_back("clearPaintDeferred"); }
  bool ShowSun() const override { return showSun; }
  double UTCOffsetSeconds() const override { return utcOffsetSeconds; }
  CacheReload reloadMapCache() override {
    calls.push_back("reload");
    if (!mapCached) return CacheReload::NotCached;
    if (reloadFails) return CacheReload::Failed;
    if (onReload) onReload();
    return CacheReload::Reloaded;
  }
  void letEventsRun() override {
    calls.push_back("events");
    if (onEvents) onEvents();
  }
};

// A white side × side surface in map coordinates for a station and radius.
struct MapScene {
  MapScene(double lat, double lon, std::int16_t radius, int side = 600) : surface(side, side) {
    plane.LatHere = lat;
    plane.LonHere = lon;
    plane.MaxDx = radius;
    geo::SetMapScale(plane, surface);
  }
  geo::PixelIndex index(geo::MapPoint p) const { return geo::pixelIndexOf(plane, surface, p); }
  raster::Rgb at(geo::MapPoint p) const {
    return surface.pixel(index(p).px, index(p).py).value_or(0xFFFFFFFFu);
  }
  geo::MapPlane plane;
  raster::Surface surface;
};

DateTime dayOf2024(double day) { return DateTime{DateSerial(2024, 1, 1).serial + day}; }

// g = |dsun − kQuarterCircumference|: 1 from 250 miles on, g / 250 down to 0.008 at 2 miles.
TEST(GrayLineStep, FollowsTheStationsDistanceFromTheTerminator) {
  constexpr double Q = kQuarterCircumference;
  const std::pair<double, double> cases[] = {
      {Q + 100, 0.4}, {Q + 249.99, 0.99996}, {Q + 250, 1},      {Q - 250, 1}, {0, 1},
      {Q + 2, 0.008}, {Q - 2, 0.008},        {Q + 1.999, 0.01}, {NAN, 0.01}};
  for (const auto& [dsun, step] : cases) EXPECT_NEAR(grayLineStep(dsun), step, 1e-6) << dsun;
}

// Per window state: the calls in order, what is drawn, and what the events changed.
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
    window.utcOffsetSeconds = 5 * 3600 + 0.4;
    const raster::Rgb cache = raster::rgb(128, 192, 255);
    bool drawnBeforeEvents = false;
    window.onReload = [&] { scene.surface.clear(cache); };
    window.onEvents = [&] {
      drawnBeforeEvents = scene.at({0, 0}) != cache;
      scene.plane.LatHere = 45;
      window.utcOffsetSeconds += 3600;
    };
    const std::vector<raster::Pixel> before(scene.surface.pixels(),
                                            scene.surface.pixels() + 600 * 600);
    SunOverlay overlay(fixedClock(makeDateTime(2024, 3, 21, 7, 0, 0)));
    overlay.SunTimer_Timer(window, scene.plane, scene.surface);
    EXPECT_EQ(window.calls, c.calls);
    EXPECT_EQ(!std::equal(before.begin(), before.end(), scene.surface.pixels()), c.draws);
    EXPECT_FALSE(drawnBeforeEvents);
    if (c.showSun && c.draws) {  // 12:00 UTC on day 80, or 13:00 after the events
      const bool events = c.calls.size() == 3;
      EXPECT_EQ(overlay.grayLine().GrayHomeLat, events ? 45 : 0);
      EXPECT_EQ(overlay.grayLine().SunLon, events ? -15 : 0);
      EXPECT_EQ(scene.at(geo::ProjectPoint(scene.plane.LatHere, 0, 0, overlay.grayLine().SunLon)),
                kSunColor);
      EXPECT_EQ(scene.surface.penWidth(), kGrayLineWidth);
    }
  }
}

// Sun over the station: a closed loop of 360; station on the terminator: a fine step.
TEST(SunOverlay, GrayLineStepsAndSegments) {
  FakeWindow window;
  MapScene scene(0, 0, 12437);
  SunOverlay noon(fixedClock(dayOf2024(80.5))), dawn(fixedClock(dayOf2024(80.25)));
  noon.SunTimer_Timer(window, scene.plane, scene.surface);
  const GrayLineFigures& f = noon.lastGrayLine();
  EXPECT_EQ(std::tuple(f.step, f.points, f.segmentsDrawn, f.segmentsSkipped),
            std::tuple(1.0, 360, 360, 0));
  dawn.SunTimer_Timer(window, scene.plane, scene.surface);
  const GrayLineFigures& g = dawn.lastGrayLine();
  EXPECT_NEAR(g.step, 0.00921, 1e-5);
  EXPECT_GT(g.points, 38000);
  EXPECT_TRUE(g.segmentsSkipped >= 1 && g.segmentsSkipped <= 10) << g.segmentsSkipped;
  EXPECT_EQ(g.points, g.segmentsDrawn + g.segmentsSkipped);
}

// The headless picture: night shading, the sun, the gray line and one path line.
TEST(DrawSunOverlay, HeadlessPictureGetsShadingSunGrayLineAndOnePathLine) {
  MapScene scene(40, -75, 12437);
  scene.surface.clear(raster::rgb(0, 128, 0));
  drawSunOverlay(scene.surface, scene.plane, dayOf2024(80.5), true, PathTarget{40, 0}, true);
  EXPECT_EQ(scene.at(geo::ProjectPoint(40, -75, 0, 0)), kSunColor);
  const geo::PixelIndex half = scene.index({scene.plane.PathX / 2.0, scene.plane.PathY / 2.0});
  int xorPixels = 0;  // green XOR white, within a pixel of the path's middle
  for (int d = 0; d < 9; ++d) {
    xorPixels +=
        scene.surface.pixel(half.px + d % 3 - 1, half.py + d / 3 - 1) == raster::rgb(255, 127, 255);
  }
  EXPECT_GT(xorPixels, 0);
  EXPECT_EQ(scene.at({0, 0}), raster::kRed);
  // Night at (0, −150), the sun 60° below the horizon: green at 128 / 256.
  EXPECT_EQ(scene.at(geo::ProjectPoint(40, -75, 0, -150)), raster::rgb(0, 64, 0));
}

// Every gray pixel within 3 px of the true terminator and back, but near the rim and the sun.
void checkPicture(double lat, double lon, std::int16_t radius, DateTime utc) {
  constexpr int kSide = 400, kTol = 3, kSamples = 100000;
  SCOPED_TRACE(::testing::Message() << "station " << lat << "," << lon << " radius " << radius
                                    << " day " << utc.serial - DateSerial(2024, 1, 1).serial);
  MapScene scene(lat, lon, radius, kSide);
  FakeWindow window;
  SunOverlay overlay(fixedClock(utc));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  const GrayLine& g = overlay.grayLine();
  // u and v span the terminator's plane, perpendicular to the sun's direction s.
  const double sLat = g.SunDecl * kRad, sLon = g.SunLon * kRad;
  const double s[3] = {std::cos(sLat) * std::cos(sLon), std::cos(sLat) * std::sin(sLon),
                       std::sin(sLat)};
  const double un = std::hypot(s[0], s[1]);
  const double u[3] = {-s[1] / un, s[0] / un, 0};
  const double v[3] = {-s[2] * u[1], s[2] * u[0], s[0] * u[1] - s[1] * u[0]};
  std::vector<char> truth(kSide * kSide, 0), gray(kSide * kSide, 0);
  auto markedNear = [&](const std::vector<char>& marked, int x, int y) {
    for (int dy = -kTol; dy <= kTol; ++dy) {
      for (int dx = -kTol; dx <= kTol; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx >= 0 && ny >= 0 && nx < kSide && ny < kSide && marked[ny * kSide + nx]) return true;
      }
    }
    return false;
  };
  for (int i = 0; i < kSide * kSide; ++i) {
    gray[i] = scene.surface.pixel(i % kSide, i / kSide) == kGrayLineColor;
  }
  const geo::PixelIndex sun = scene.index(geo::ProjectPoint(lat, lon, g.SunDecl, g.SunLon));
  int missing = 0, stray = 0;
  for (int k = 0; k < kSamples; ++k) {
    const double t = 2 * 3.14159265358979323846 * k / kSamples;
    double p[3];
    for (int a = 0; a < 3; ++a) p[a] = u[a] * std::cos(t) + v[a] * std::sin(t);
    const geo::MapPoint m = geo::ProjectPoint(
        lat, lon, std::asin(std::clamp(p[2], -1.0, 1.0)) / kRad, std::atan2(p[1], p[0]) / kRad);
    const geo::PixelIndex i = scene.index(m);
    if (i.px < 0 || i.py < 0 || i.px >= kSide || i.py >= kSide) continue;
    truth[i.py * kSide + i.px] = 1;
    const bool nearSun = std::abs(i.px - sun.px) <= 6 && std::abs(i.py - sun.py) <= 6;
    missing += std::hypot(m.x, m.y) < 12433 - 600 && !nearSun && !markedNear(gray, i.px, i.py);
  }
  for (int i = 0; i < kSide * kSide; ++i) {
    stray += gray[i] && !markedNear(truth, i % kSide, i / kSide);
  }
  EXPECT_EQ(stray, 0) << "gray pixels off the terminator";
  EXPECT_EQ(missing, 0) << "terminator points not drawn; step " << overlay.lastGrayLine().step;
}

// Random stations, days and radii; then stations on and near the terminator.
TEST(GrayLinePicture, FollowsTheTrueTerminator) {
  std::mt19937 rng(31);
  std::uniform_real_distribution<double> lat(-85, 85), lon(-180, 180), day(0, 365);
  const std::int16_t radii[] = {12437, 12437, 6000, 2500};
  for (int i = 0; i < 40; ++i) {
    const double stationLat = lat(rng), stationLon = lon(rng);
    checkPicture(stationLat, stationLon, radii[i % 4], dayOf2024(day(rng)));
  }
  for (double offset : {0.0, 0.01, 0.5, 2.0, 3.5, 10.0}) {
    checkPicture(20, offset, 12437, dayOf2024(80.25));
    checkPicture(-35, 180 - offset, 3000, dayOf2024(80.25));
  }
}

}  // namespace
}  // namespace orbelle
