// The drawn gray line against an independent terminator: for random stations and instants,
// every gray pixel must lie on the true terminator's projection and the true terminator must be
// drawn everywhere except close to the station's antipode (the map's rim), where stretched
// segments are left out.

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <random>
#include <vector>

#include "geometry/projection.hpp"
#include "overlay_fixture.hpp"
#include "sun/sun_overlay.hpp"

namespace orbelle {
namespace {

using testing::FakeWindow;
using testing::MapScene;

constexpr double kRad = 3.14159265358979323846 / 180;

// Chebyshev distance in pixels from every pixel to the nearest marked one, up to `limit`.
std::vector<int> distanceField(const std::vector<char>& marked, int side, int limit) {
  std::vector<int> dist(marked.size(), limit + 1);
  std::deque<int> queue;
  for (std::size_t i = 0; i < marked.size(); ++i) {
    if (marked[i]) {
      dist[i] = 0;
      queue.push_back(static_cast<int>(i));
    }
  }
  while (!queue.empty()) {
    const int i = queue.front();
    queue.pop_front();
    if (dist[i] >= limit) continue;
    const int x = i % side, y = i / side;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= side || ny >= side) continue;
        const int j = ny * side + nx;
        if (dist[j] > dist[i] + 1) {
          dist[j] = dist[i] + 1;
          queue.push_back(j);
        }
      }
    }
  }
  return dist;
}

struct Case {
  double lat, lon;
  std::int16_t radius;
  DateTime utc;
};

void checkPicture(const Case& c) {
  constexpr int kSide = 400;
  constexpr int kTolerancePx = 3;
  MapScene scene(c.lat, c.lon, c.radius, kSide);
  FakeWindow window;
  SunOverlay overlay(fixedClock(c.utc));
  overlay.SunTimer_Timer(window, scene.plane, scene.surface);
  const GrayLine& g = overlay.grayLine();

  // The true terminator: the great circle 90 degrees from the sub-solar point.
  const double sLat = g.SunDecl * kRad, sLon = g.SunLon * kRad;
  const double s[3] = {std::cos(sLat) * std::cos(sLon), std::cos(sLat) * std::sin(sLon),
                       std::sin(sLat)};
  double u[3] = {-s[1], s[0], 0};  // s × z
  const double un = std::hypot(u[0], u[1]);
  u[0] /= un;
  u[1] /= un;
  const double v[3] = {s[1] * u[2] - s[2] * u[1], s[2] * u[0] - s[0] * u[2],
                       s[0] * u[1] - s[1] * u[0]};
  std::vector<char> truth(kSide * kSide, 0);
  std::vector<geo::PixelIndex> truthPixels;
  const geo::PixelIndex sun = geo::pixelIndexOf(
      scene.plane, scene.surface, geo::ProjectPoint(c.lat, c.lon, g.SunDecl, g.SunLon));
  constexpr int kSamples = 100000;
  for (int k = 0; k < kSamples; ++k) {
    const double t = 2 * 3.14159265358979323846 * k / kSamples;
    double p[3];
    for (int a = 0; a < 3; ++a) p[a] = u[a] * std::cos(t) + v[a] * std::sin(t);
    const double lat = std::asin(std::clamp(p[2], -1.0, 1.0)) / kRad;
    const double lon = std::atan2(p[1], p[0]) / kRad;
    const geo::MapPoint m = geo::ProjectPoint(c.lat, c.lon, lat, lon);
    const geo::PixelIndex i = geo::pixelIndexOf(scene.plane, scene.surface, m);
    if (i.px < 0 || i.py < 0 || i.px >= kSide || i.py >= kSide) continue;
    truth[i.py * kSide + i.px] = 1;
    // Far from the rim and from the sun dot the line must be complete.
    const bool nearSun = std::abs(i.px - sun.px) <= 6 && std::abs(i.py - sun.py) <= 6;
    if (std::hypot(m.x, m.y) < 12433 - 600 && !nearSun) truthPixels.push_back(i);
  }
  std::vector<char> gray(kSide * kSide, 0);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x)
      gray[y * kSide + x] = scene.surface.pixel(x, y) == kGrayLineColor;
  }

  const auto toTruth = distanceField(truth, kSide, kTolerancePx);
  int stray = 0;
  for (int i = 0; i < kSide * kSide; ++i) stray += gray[i] && toTruth[i] > kTolerancePx;
  EXPECT_EQ(stray, 0) << "gray pixels off the terminator; station " << c.lat << "," << c.lon
                      << " radius " << c.radius << " step " << overlay.lastGrayLine().step;

  const auto toGray = distanceField(gray, kSide, kTolerancePx);
  int missing = 0;
  for (const auto& p : truthPixels) missing += toGray[p.py * kSide + p.px] > kTolerancePx;
  EXPECT_EQ(missing, 0) << "terminator pixels not drawn; station " << c.lat << "," << c.lon
                        << " radius " << c.radius << " day "
                        << c.utc.serial - DateSerial(2024, 1, 1).serial << " step "
                        << overlay.lastGrayLine().step << " skipped "
                        << overlay.lastGrayLine().segmentsSkipped;
}

TEST(GrayLinePicture, FollowsTheTrueTerminatorForRandomStationsAndInstants) {
  std::mt19937 rng(31);
  std::uniform_real_distribution<double> lat(-85, 85), lon(-180, 180), day(0, 365);
  const std::int16_t radii[] = {12437, 12437, 6000, 2500};
  for (int i = 0; i < 40; ++i) {
    const Case c{lat(rng), lon(rng), radii[i % 4],
                 DateTime{DateSerial(2024, 1, 1).serial + day(rng)}};
    checkPicture(c);
  }
}

TEST(GrayLinePicture, StationsOnAndNearTheTerminator) {
  // 06:00 UTC on day 80: the terminator runs along the meridians 0 and 180.
  const DateTime t = DateTime{DateSerial(2024, 1, 1).serial + 80.25};
  for (double offset : {0.0, 0.01, 0.5, 2.0, 3.5, 10.0}) {
    checkPicture({20, offset, 12437, t});
    checkPicture({-35, 180 - offset, 3000, t});
  }
}

}  // namespace
}  // namespace orbelle
