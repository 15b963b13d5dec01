// Maps scored against a high-resolution land mask ($ORBELLE_LANDMASK or <build>/landmask.bin) for
// land, water, ice, named lakes and rivers. Slow: ctest -L slow, -DORBELLE_SLOW_TESTS=ON.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "file_io.hpp"
#include "geometry/constants.hpp"
#include "geometry/plane_inverse.hpp"
#include "land_mask.hpp"
#include "render/drawing_pass.hpp"
#include "render/land_regions.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

// Pixels whose centre lies farther out than this are not scored (the rim is at 12422.565).
constexpr double kScoredRadiusMiles = 12300.0;
// Land painted water (and ice left green) allowed, a share of the scored pixels: shore specks.
constexpr double kMostLandPaintedWater = 0.0001;
// Pixels wholly in water that make a land-coloured region an unfilled water body (if the most).
constexpr std::int64_t kLeftBodyPixels = 30;
// Pixels this near an outline pixel (a square) may lie on either side of the mask's shore.
constexpr int kShoreSlack = 3;
// With rivers on, the share of the land's pixels painted the water colour, at most.
constexpr double kMostRiverShare = 0.05;
// Pixels each side of a place's pixel that its check looks at.
constexpr int kRound = 2;

enum class Truth : std::uint8_t { Land, Ocean, Lake, Mixed };

// The truth of every pixel of a map (row-major): its footprint's nine points looked up in the
// mask, from a grid of half-pixel points shared between neighbours.
std::vector<Truth> pixelTruth(const mapdata::LandMask& mask, const geo::PlaneInverse& inverse,
                              const raster::Surface& map) {
  const int w = map.width(), gw = 2 * w + 1;
  std::vector<Truth> grid(static_cast<std::size_t>(gw) * (2 * map.height() + 1)), pixels;
  for (std::size_t g = 0; g < grid.size(); ++g) {
    const double half = map.unitWidth() / 2.0;
    const geo::GeoPosition p =
        inverse.positionOnCircle({map.scaleLeft() + (static_cast<int>(g % gw) - 1) * half,
                                  map.scaleTop() - (static_cast<int>(g / gw) - 1) * half});
    const int level = mask.at(p.lat, p.lon);
    grid[g] = level % 2 == 1 ? Truth::Land : level == 0 ? Truth::Ocean : Truth::Lake;
  }
  for (std::size_t i = 0; i < static_cast<std::size_t>(w) * map.height(); ++i) {
    auto at = [&](std::size_t d) { return grid[(2 * (i / w) + d / 3) * gw + 2 * (i % w) + d % 3]; };
    bool same = true;
    for (std::size_t d = 0; d < 9; ++d) same = same && at(d) == at(4);
    pixels.push_back(same ? at(4) : Truth::Mixed);
  }
  return pixels;
}

struct Place {
  const char* name;
  double lat, lon;  // a station; a lake's middle
};

constexpr Place kLakes[] = {
    {"Onega", 61.7, 35.5},       {"Vanern", 58.9, 13.4},   {"Titicaca", -15.8, -69.4},
    {"Athabasca", 59.2, -109.5}, {"Baikal", 53.5, 108.0},  {"Erie", 42.2, -81.2},
    {"Ontario", 43.7, -77.9},    {"Huron", 44.8, -82.3},   {"Caspian", 42.0, 50.5},
    {"Superior", 47.6, -87.4},   {"Victoria", -1.0, 33.0}, {"Ladoga", 60.8, 31.5},
    {"Malawi", -12.0, 34.5},
};

class AtScale : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* path = std::getenv("ORBELLE_LANDMASK");
    mask_ = std::make_unique<mapdata::LandMask>(mapdata::decodeMask(
        mapdata::readFileBytes(path != nullptr ? path : ORBELLE_BINARY_DIR "/landmask.bin")));
    const OutlineProjector anywhere(0.0, 0.0);
    const OutlineReader files(test::shippedProgramFolder());
    OutlineLoader loader(
        {files.pathOf(kCoastFile), files.pathOf(kIslandFile), files.pathOf(kLakeFile)}, anywhere,
        1);
    rings_ = std::make_unique<ShoreTruth>(std::vector<std::span<const OutlineRecord>>{
        loader.file(0).records, loader.file(1).records, loader.file(2).records});
  }

  // Draws the map (and with rivers, again with rivers on) and checks every goal on it.
  void check(double lat, double lon, std::int16_t maxDx, int side, bool rivers) {
    geo::MapPlane plane{.LatHere = lat, .LonHere = lon, .MaxDx = maxDx};
    test::RecordingWindow window(side);
    options_.ShowRivers = false;
    DrawingPass pass(window, plane, options_, test::shippedProgramFolder());
    pass.cmdDraw_Click();
    ASSERT_TRUE(window.cached.has_value());
    raster::Surface map = *window.cached;
    options_.ShowRivers = rivers;
    if (rivers) pass.cmdDraw_Click();
    const raster::Surface& drawn = *window.cached;  // with rivers when they are on
    const geo::PlaneInverse inverse(lat, lon);
    const std::vector<Truth> truth = pixelTruth(*mask_, inverse, map);
    const std::string where = std::to_string(lat) + ", " + std::to_string(lon) + ", " +
                              std::to_string(maxDx) + " mi, " + std::to_string(side) + " px";
    auto isFill = [&](raster::Rgb c) {
      return c == options_.WaterColor || c == options_.LandColor || c == options_.IceColor;
    };
    auto nearOutline = [&](int px, int py) {
      for (int y = std::max(0, py - kShoreSlack); y <= std::min(side - 1, py + kShoreSlack); ++y) {
        for (int x = std::max(0, px - kShoreSlack); x <= std::min(side - 1, px + kShoreSlack); ++x)
          if (!isFill(*map.pixel(x, y))) return true;
      }
      return false;
    };
    // Scored: pixels wholly on one side, land/water/ice coloured. Land painted water away from
    // an outline and on land in the outline data too; pixels wholly on land inside an ice cap
    // left land-coloured; pixels wholly on land (fill-coloured, water with rivers). side marks
    // 1 wholly on land, 2 wholly in water the outline data has too (not reservoirs, lagoons).
    std::int64_t scored = 0, landPaintedWaterAway = 0, iceLeftGreen = 0, land = 0, wet = 0;
    std::vector<char> sideOf(truth.size(), 0);
    for (std::size_t i = 0; i < truth.size(); ++i) {
      const int px = static_cast<int>(i) % side, py = static_cast<int>(i) / side;
      const raster::Rgb c = *map.pixel(px, py);
      const double x = map.scaleLeft() + px * map.unitWidth();
      const double y = map.scaleTop() - py * map.unitWidth();
      if (!isFill(c) || std::hypot(x, y) > kScoredRadiusMiles || truth[i] == Truth::Mixed) continue;
      ++scored;
      const bool water = c == options_.WaterColor, green = c == options_.LandColor;
      const geo::GeoPosition p = inverse.positionOnCircle({x, y});
      if (truth[i] == Truth::Land) {
        sideOf[i] = 1;
        land += rivers && isFill(*drawn.pixel(px, py));
        wet += rivers && drawn.pixel(px, py) == options_.WaterColor;
        if ((!water && !green) || nearOutline(px, py)) continue;
        const geo::RingMask m = rings_->at(p.lat, p.lon);
        landPaintedWaterAway += water && (m & kLandBit) != 0;
        iceLeftGreen += green && (m & (kLandBit | kIceBit)) == (kLandBit | kIceBit);
      } else if (green && (rings_->at(p.lat, p.lon) & kLandBit) == 0) {
        sideOf[i] = 2;
      }
    }
    // Land-coloured regions as the map shows them: none may lie mostly in water.
    const LandRegions regions = findLandRegions(map, options_.LandColor);
    std::vector<std::int64_t> inWater(regions.count), onLand(regions.count);
    for (const LandRun& run : regions.runs) {
      for (int x = run.x0; x <= run.x1; ++x) {
        inWater[run.region] += sideOf[run.y * side + x] == 2;
        onLand[run.region] += sideOf[run.y * side + x] == 1;
      }
    }
    for (int r = 0; r < regions.count; ++r)
      EXPECT_FALSE(inWater[r] >= kLeftBodyPixels && inWater[r] > onLand[r]) << where;
    const double share = static_cast<double>(wet) / std::max<double>(1, land);
    const double most = kMostLandPaintedWater * static_cast<double>(scored);
    EXPECT_LE(static_cast<double>(landPaintedWaterAway), most) << where;
    EXPECT_LE(static_cast<double>(iceLeftGreen), most) << where;
    EXPECT_LE(share, kMostRiverShare) << where;

    // The pixels of the square round a place's pixel that pass is (-1: the place is off the
    // scored map). A named lake: wherever the square is wholly lake, none of it is land-coloured
    // (a border line may cross a lake).
    geo::SetMapScale(plane, map);
    auto count = [&](const Place& place, auto is) {
      const geo::PixelIndex p = test::pixelAt(plane, map, place.lat, place.lon);
      const double r = std::hypot(p.px + 0.5 - side / 2.0, p.py + 0.5 - side / 2.0);
      if (std::min(p.px, p.py) < 0 || std::max(p.px, p.py) >= side ||
          r * map.unitWidth() > kScoredRadiusMiles) {
        return -1;
      }
      int n = 0;
      for (int y = p.py - kRound; y <= p.py + kRound; ++y) {
        for (int x = p.px - kRound; x <= p.px + kRound; ++x)
          n += x >= 0 && y >= 0 && x < side && y < side && is(x, y);
      }
      return n;
    };
    for (const Place& lake : kLakes) {
      const auto isLake = [&](int x, int y) { return truth[y * side + x] == Truth::Lake; };
      if (count(lake, isLake) < (2 * kRound + 1) * (2 * kRound + 1)) continue;
      EXPECT_EQ(count(lake, [&](int x, int y) { return map.pixel(x, y) == options_.LandColor; }), 0)
          << lake.name << " at " << where;
    }
  }

  static std::unique_ptr<mapdata::LandMask> mask_;
  static std::unique_ptr<ShoreTruth> rings_;
  PassOptions options_;
};

std::unique_ptr<mapdata::LandMask> AtScale::mask_;
std::unique_ptr<ShoreTruth> AtScale::rings_;

// Where seas and lakes once stayed land-coloured and rivers covered the land (six stations of
// the Americas, Europe, Asia and Australia, every radius and size); 100 random maps.
TEST_F(AtScale, NamedStationsAtEveryRadiusAndRandomWholeEarthMaps) {
  ASSERT_TRUE(test::shippedDataPresent());
  const Place stations[] = {
      {"Atlanta", 33.75, -84.39},   {"Moscow", 55.76, 37.62},    {"Buenos Aires", -34.6, -58.38},
      {"Reykjavik", 64.15, -21.94}, {"Singapore", 1.35, 103.82}, {"Sydney", -33.87, 151.21},
  };
  for (const Place& station : stations) {
    for (std::int16_t radius : {12437, 6000, 3000, 1500, 800, 300}) {
      for (int side : {600, 1200}) check(station.lat, station.lon, radius, side, true);
    }
  }
  std::mt19937_64 random(20241206);
  std::uniform_real_distribution<double> z(-1.0, 1.0), lon(-180.0, 180.0);
  for (int i = 0; i < 100; ++i)
    check(std::asin(z(random)) / geo::kDegToRad, lon(random), 12437, 600, false);
}

}  // namespace
}  // namespace orbelle::render
