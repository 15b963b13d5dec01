// The drawn gray line against an independent terminator, the great circle 90 degrees from the
// sub-solar point: every gray pixel lies on its projection, and it is drawn everywhere except
// close to the station's antipode (the map's rim, where stretched segments are left out) and
// under the sun dot.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry/projection.hpp"
#include "overlay_fixture.hpp"
#include "sun/sun_overlay.hpp"

namespace orbelle {
namespace {

constexpr double kRad = 3.14159265358979323846 / 180;
constexpr int kSide = 400;
constexpr int kTolerancePx = 3;

// Whether a marked pixel lies within kTolerancePx of (x, y), in each direction.
bool markedNear(const std::vector<char>& marked, int x, int y) {
  for (int dy = -kTolerancePx; dy <= kTolerancePx; ++dy) {
    for (int dx = -kTolerancePx; dx <= kTolerancePx; ++dx) {
      const int nx = x + dx, ny = y + dy;
      if (nx >= 0 && ny >= 0 && nx < kSide && ny < kSide && marked[ny * kSide + nx]) return true;
    }
  }
  return false;
}

void checkPicture(double lat, double lon, std::int16_t radius, DateTime utc) {
  SCOPED_TRACE(::testing::Message() << "station " << lat << "," << lon << " radius " << radius
                                    << " day " << utc.serial - DateSerial(2024, 1, 1).serial);
  testing::MapScene scene(lat, lon, radius, kSide);
  testing::FakeWindow window;
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
  std::vector<geo::PixelIndex> mustBeDrawn;
  const geo::PixelIndex sun = geo::pixelIndexOf(scene.plane, scene.surface,
                                                geo::ProjectPoint(lat, lon, g.SunDecl, g.SunLon));
  constexpr int kSamples = 100000;
  for (int k = 0; k < kSamples; ++k) {
    const double t = 2 * 3.14159265358979323846 * k / kSamples;
    double p[3];
    for (int a = 0; a < 3; ++a) p[a] = u[a] * std::cos(t) + v[a] * std::sin(t);
    const geo::MapPoint m = geo::ProjectPoint(
        lat, lon, std::asin(std::clamp(p[2], -1.0, 1.0)) / kRad, std::atan2(p[1], p[0]) / kRad);
    const geo::PixelIndex i = geo::pixelIndexOf(scene.plane, scene.surface, m);
    if (i.px < 0 || i.py < 0 || i.px >= kSide || i.py >= kSide) continue;
    truth[i.py * kSide + i.px] = 1;
    const bool nearSun = std::abs(i.px - sun.px) <= 6 && std::abs(i.py - sun.py) <= 6;
    if (std::hypot(m.x, m.y) < 12433 - 600 && !nearSun) mustBeDrawn.push_back(i);
  }
  for (int i = 0; i < kSide * kSide; ++i) {
    gray[i] = scene.surface.pixel(i % kSide, i / kSide) == kGrayLineColor;
  }

  int stray = 0, missing = 0;
  for (int i = 0; i < kSide * kSide; ++i)
    stray += gray[i] && !markedNear(truth, i % kSide, i / kSide);
  for (const geo::PixelIndex& p : mustBeDrawn) missing += !markedNear(gray, p.px, p.py);
  EXPECT_EQ(stray, 0) << "gray pixels off the terminator";
  EXPECT_EQ(missing, 0) << "terminator pixels not drawn; step " << overlay.lastGrayLine().step
                        << ", skipped " << overlay.lastGrayLine().segmentsSkipped;
}

TEST(GrayLinePicture, FollowsTheTrueTerminator) {
  std::mt19937 rng(31);
  std::uniform_real_distribution<double> lat(-85, 85), lon(-180, 180), day(0, 365);
  const std::int16_t radii[] = {12437, 12437, 6000, 2500};
  for (int i = 0; i < 40; ++i) {
    const double stationLat = lat(rng), stationLon = lon(rng);
    checkPicture(stationLat, stationLon, radii[i % 4],
                 DateTime{DateSerial(2024, 1, 1).serial + day(rng)});
  }
  // Stations on and near the terminator: at 06:00 UTC on day 80 it runs along meridians 0 and 180.
  const DateTime t = DateTime{DateSerial(2024, 1, 1).serial + 80.25};
  for (double offset : {0.0, 0.01, 0.5, 2.0, 3.5, 10.0}) {
    checkPicture(20, offset, 12437, t);
    checkPicture(-35, 180 - offset, 3000, t);
  }
}

}  // namespace
}  // namespace orbelle
