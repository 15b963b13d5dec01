// The sun: its position, the gray line's range and points, and the overlay drawn from them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "geometry/projection.hpp"
#include "plane/map_plane.hpp"
#include "raster/surface.hpp"
#include "sun/gray_line.hpp"
#include "sun/gray_point.hpp"
#include "sun/local_clock.hpp"
#include "sun/sun_overlay.hpp"
#include "sun/sun_position.hpp"

namespace orbelle {
namespace {

constexpr double kRad = 3.14159265358979323846 / 180;

GrayLine state(float homeLat, float homeLon, float decl, float sunLon) {
  const float maxLat = 90 - std::fabs(decl);
  return {homeLat, homeLon, decl, sunLon, maxLat, -maxLat};
}

// Turning points, and New Year (the 365-day period absorbs a local year one off); setGrayLine.
TEST(SunPosition, WorkedInstantsAndTheGrayLineStateOfThem) {
  struct Case {
    DateTime t;
    int localYear;
    double day, longitude, declination;
  };
  const Case cases[] = {
      {makeDateTime(2024, 3, 21, 0, 0, 0), 2024, 80, 180, 0},
      {makeDateTime(2024, 6, 20, 6, 0, 0), 2024, 171.25, 90, 23},
      {makeDateTime(2025, 1, 1, 3, 0, 0), 2024, 366.125, 135, -22.4801006372285},
      {makeDateTime(2024, 12, 31, 21, 0, 0), 2025, -0.125, -135, -22.5795211487467},
      {makeDateTime(2024, 6, 1, 23, 59, 59), 2024, 152 + 86399.0 / 86400, -179.99583333333334,
       21.8742984587222},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.day);
    EXPECT_NEAR(DayOfYear(c.t, c.localYear), c.day, 1e-9);
    EXPECT_NEAR(SunLongitude(c.t), c.longitude, 1e-9);
    const double declination = SunDeclination(c.t, c.localYear);
    EXPECT_NEAR(declination, c.declination, 1e-9);
    GrayLine g;
    setGrayLine(g, 33.9, -84.179, c.t, c.localYear);
    EXPECT_EQ(g.SunDecl, static_cast<float>(declination));
    EXPECT_EQ(g.SunLon, static_cast<float>(c.longitude));
    EXPECT_FLOAT_EQ(g.GrayMaxLat, 90 - std::fabs(g.SunDecl));
    EXPECT_EQ(g.GrayMinLat, -g.GrayMaxLat);
  }
}

// In India's zone (5.5 h east, no DST); the two clocks may be read a second apart.
TEST(LocalClock, SystemClocksDifferByTheZoneOffset) {
  const char* saved = std::getenv("TZ");
  const std::string zone = saved != nullptr ? saved : "";
  ASSERT_EQ(setenv("TZ", "IST-5:30", 1), 0);
  tzset();
  const double hoursToUtc = systemHoursToUtc();
  const double hoursAhead = (systemLocalNow().serial - systemUtcNow().serial) * 24;
  saved != nullptr ? setenv("TZ", zone.c_str(), 1) : unsetenv("TZ");
  tzset();
  EXPECT_EQ(hoursToUtc, -5.5);
  EXPECT_NEAR(hoursAhead, 5.5, 1.0 / 3600 + 1e-9);
}

// Worked rows (due north and south; no value gives 0 and 0), then against the law of cosines.
TEST(GrayLineRange, WorkedValuesNumericErrorsAndAnIndependentFormula) {
  struct Case {
    GrayLine g;
    float lon, lat, distance, bearing;
  };
  const GrayLine equator = state(0, 0, 0, 0), philadelphia = state(40, -75, 10, 0);
  const Case cases[] = {
      {equator, 0, -30, 2071.21, 180},     {philadelphia, 105, -40, 0, 0},
      {philadelphia, NAN, 10, 0, 0},       {philadelphia, 10, INFINITY, 0, 0},
      {state(NAN, 0, 0, 0), 10, 10, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.lat << ", " << c.lon);
    float d = 5, b = 5;
    GrayLineRange(c.g, c.lon, c.lat, d, b);
    EXPECT_NEAR(d, c.distance, 0.01);
    EXPECT_NEAR(b, c.bearing, 1e-3);
  }
  constexpr double kGrayMilesPerRadian = 111.11 * 57.2957795130824 / 1.60933;
  std::mt19937 rng(2024);
  std::uniform_real_distribution<float> lat(-89, 89), lon(-180, 180);
  for (int i = 0; i < 2000; ++i) {
    const float lat1 = lat(rng), lon1 = lon(rng), lat2 = lat(rng), lon2 = lon(rng);
    SCOPED_TRACE(::testing::Message() << lat1 << "," << lon1 << " -> " << lat2 << "," << lon2);
    float d, b;
    GrayLineRange(state(lat1, lon1, 0, 0), lon2, lat2, d, b);
    const double p1 = lat1 * kRad, p2 = lat2 * kRad, dl = (double{lon2} - lon1) * kRad;
    const double arc =
        std::acos(std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl));
    const double bearing =
        std::atan2(std::sin(dl) * std::cos(p2),
                   std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
    // 1.57079 stands for π/2 (6.3e-6 short) and the arc goes through float: a few miles at most.
    EXPECT_NEAR(d, (arc + 1.57079 - 3.14159265358979 / 2) * kGrayMilesPerRadian, 2.0);
    // Single-precision bearing: the place it points to may lie up to 5 miles aside.
    const double side = std::remainder(b - bearing / kRad, 360.0) * kRad * std::sin(arc);
    EXPECT_LE(std::fabs(side) * kGrayMilesPerRadian, 6.0) << b << " against " << bearing / kRad;
  }
}

// Angle: up the sunset side to GrayMaxLat, down the sunrise side, and round the south.
TEST(GrayPoint, AngleRunsRoundTheTerminator) {
  struct Case {
    float decl, sunLon, angle, lat, lon;
  };
  const Case cases[] = {
      {0, 30, 45, 45, 120},   {0, 30, 135, 45, -60},    {0, 30, 200, -20, -60},
      {0, 30, 300, -60, 120}, {23, -100, 180, 0, -190}, {-23, -100, 225, -33.5, NAN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.decl << " " << c.angle);
    const GrayLine g = state(51.5f, 0, c.decl, c.sunLon);  // GrayPoint keeps a reference
    GrayPoint p(g);
    p.Calculate(c.angle);
    EXPECT_FLOAT_EQ(p.Latitude(), c.lat);
    EXPECT_TRUE(std::isnan(c.lon) || std::fabs(p.Longitude() - c.lon) < 1e-4) << p.Longitude();
  }
}

// Every point of random blocks lies on the terminator; x and y place its range.
TEST(GrayPoint, EveryPointOfABlockLiesOnTheTerminator) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> decl(-23, 23), lon(-180, 180), lat(-89, 89),
      angle(-10, 370);
  for (int i = 0; i < 100; ++i) {
    const GrayLine g = i == 0 ? state(0, 0, 0, 90) : state(lat(rng), lon(rng), decl(rng), lon(rng));
    float angles[GrayPoint::kBlock] = {180, 0};  // the station and its antipode in the first
    for (int j = 2; j < GrayPoint::kBlock; ++j) angles[j] = angle(rng);
    GrayPoint::Block out;
    GrayPoint(g).Calculate(angles, GrayPoint::kBlock, out);
    for (int j = 0; j < GrayPoint::kBlock; ++j) {
      const double lat = out.Latitude[j] * kRad, lon = out.Longitude[j];
      const double cosArc =
          std::sin(g.SunDecl * kRad) * std::sin(lat) +
          std::cos(g.SunDecl * kRad) * std::cos(lat) * std::cos((lon - g.SunLon) * kRad);
      EXPECT_NEAR(cosArc, 0, 2e-5) << j;
      float d, b;
      GrayLineRange(g, out.Longitude[j], out.Latitude[j], d, b);
      EXPECT_NEAR(out.x[j], kWholeEarthHalfWidth + d * std::sin(b * kRad), 0.01) << j;
      EXPECT_NEAR(out.y[j], kWholeEarthHalfWidth - d * std::cos(b * kRad), 0.01) << j;
    }
  }
}

struct FakeWindow final : OverlayWindow {
  bool drawing = false, showSun = true;
  CacheReload reload = CacheReload::NotCached;
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
    if (reload == CacheReload::Reloaded && onReload) onReload();
    return reload;
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

// Per window state: the calls in order, what is drawn, and what the events changed.
TEST(SunOverlay, AsksTheWindowInOrderAndDrawsOnlyWhenItMay) {
  using R = CacheReload;
  struct Case {
    const char* what;
    bool drawing, showSun, pathShown;
    CacheReload reload;
    std::vector<std::string> calls;
    bool draws;
  };
  const Case cases[] = {
      {"while drawing nothing happens", true, true, true, R::Reloaded, {}, false},
      {"no sun, no path", false, false, false, R::Reloaded, {"clearPaintDeferred"}, false},
      {"no sun, a path", false, false, true, R::Reloaded, {"clearPaintDeferred"}, true},
      {"no cached map", false, true, false, R::NotCached, {"clearPaintDeferred", "reload"}, true},
      {"cached", false, true, false, R::Reloaded, {"clearPaintDeferred", "reload", "events"}, true},
      {"reload fails", false, true, false, R::Failed, {"clearPaintDeferred", "reload"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MapScene scene(0, 0, 12437);
    scene.plane.PathShown = c.pathShown;
    scene.plane.PathX = 3000;
    FakeWindow window;
    window.drawing = c.drawing;
    window.showSun = c.showSun;
    window.reload = c.reload;
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
      const GrayLineFigures& f = overlay.lastGrayLine();  // far from the terminator: a loop
      EXPECT_EQ(std::tuple(f.step, f.points, f.segmentsDrawn), std::tuple(1.0, 360, 360));
    }
  }
}

// The step's band and floor; a station on the terminator: a fine step, antipode segments left out.
TEST(GrayLineStep, FollowsTheStationsDistanceFromTheTerminator) {
  constexpr double Q = kQuarterCircumference;
  const std::pair<double, double> cases[] = {
      {Q + 100, 0.4}, {Q + 249.99, 0.99996}, {Q + 250, 1},      {Q - 250, 1}, {0, 1},
      {Q + 2, 0.008}, {Q - 2, 0.008},        {Q + 1.999, 0.01}, {NAN, 0.01}};
  for (const auto& [dsun, step] : cases) EXPECT_NEAR(grayLineStep(dsun), step, 1e-6) << dsun;
  FakeWindow window;
  MapScene scene(0, 0, 12437);
  SunOverlay dawn(fixedClock(dayOf2024(80.25)));
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
  const raster::Pixel* pixels = scene.surface.pixels();  // the path in XOR: green on white
  EXPECT_GT(std::count(pixels, pixels + 600 * 600, raster::toPixel(raster::rgb(255, 127, 255))),
            50);
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
