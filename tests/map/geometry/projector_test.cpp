#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

#include "geometry/projection.hpp"
#include "reference_sphere.hpp"

namespace orbelle::geo {
namespace {

using testing::Position;
using testing::randomPosition;

// The fast projector must stay within this of the literal projection before rounding.
constexpr double kAllowedMiles = 1e-6;

double worstDifference(const StationProjector& fast, double lat, double lon) {
  const MapPoint literal = ProjectPoint(fast.latHere(), fast.lonHere(), lat, lon);
  const MapPoint quick = fast.project(lat, lon);
  return std::max(std::fabs(literal.x - quick.x), std::fabs(literal.y - quick.y));
}

TEST(StationProjector, MatchesLiteralProjectionOnRandomPositions) {
  std::mt19937_64 rng(99);
  double worst = 0.0;
  for (int s = 0; s < 200; ++s) {
    const Position station = randomPosition(rng);
    const StationProjector fast(station.lat, station.lon);
    for (int i = 0; i < 1000; ++i) {
      const Position p = randomPosition(rng);
      worst = std::max(worst, worstDifference(fast, p.lat, p.lon));
    }
  }
  EXPECT_LE(worst, kAllowedMiles);
}

// Outline vertices lie on the whole-minute grid and stations often on whole degrees: exact
// bearings of 0, 90, 180 and 270 degrees, points on the station's meridian and parallel, the
// date line and the poles all occur.
TEST(StationProjector, MatchesLiteralProjectionOnTheMinuteGrid) {
  const Position stations[] = {{0, 0},   {0, 180},   {45, -84}, {-33, 151}, {90, 0},
                               {-90, 0}, {60, -180}, {1, 179},  {-1, -179}, {40, -75}};
  double worst = 0.0;
  for (const Position station : stations) {
    const StationProjector fast(station.lat, station.lon);
    for (int latMin = -5400; latMin <= 5400; latMin += 37) {
      for (int lonMin = -10800; lonMin <= 10800; lonMin += 53) {
        worst = std::max(worst, worstDifference(fast, latMin / 60.0, lonMin / 60.0));
      }
    }
    // The station's own meridian, parallel, antipode and the date line.
    for (int minute = -10800; minute <= 10800; minute += 60) {
      worst = std::max(worst,
                       worstDifference(fast, std::clamp(minute / 120.0, -90.0, 90.0), station.lon));
      worst = std::max(worst, worstDifference(fast, station.lat, minute / 60.0));
    }
    worst = std::max(worst, worstDifference(fast, -station.lat, station.lon + 180.0));
    worst = std::max(worst, worstDifference(fast, station.lat, 180.0));
    worst = std::max(worst, worstDifference(fast, station.lat, -180.0));
  }
  EXPECT_LE(worst, kAllowedMiles);
}

TEST(StationProjector, StationItselfIsTheOrigin) {
  const StationProjector fast(12.25, -33.5);
  const MapPoint p = fast.project(12.25, -33.5);
  EXPECT_EQ(p.x, 0.0);
  EXPECT_EQ(p.y, 0.0);
}

TEST(StationProjector, ProjectsTheSameFromTwoThreads) {
  const StationProjector fast(51.5, -0.1);
  std::vector<Position> points;
  std::mt19937_64 rng(5);
  for (int i = 0; i < 20000; ++i) points.push_back(randomPosition(rng));

  auto run = [&](std::vector<MapPoint>& out) {
    for (const Position p : points) out.push_back(fast.project(p.lat, p.lon));
  };
  std::vector<MapPoint> a, b, serial;
  std::thread first(run, std::ref(a)), second(run, std::ref(b));
  first.join();
  second.join();
  run(serial);
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(a[i].x, serial[i].x);
    EXPECT_EQ(a[i].y, serial[i].y);
    EXPECT_EQ(b[i].x, serial[i].x);
    EXPECT_EQ(b[i].y, serial[i].y);
  }
}

}  // namespace
}  // namespace orbelle::geo
