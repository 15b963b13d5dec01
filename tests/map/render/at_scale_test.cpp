// Map correctness at scale: whole-Earth maps for 100 random stations, every pixel scored against
// a land/water mask made from the high-resolution shorelines. A pixel counts only when its whole
// footprint (its centre and the eight points half a pixel around it) lies on one side of the
// mask's shores; pixels in the outermost rim band, where a pixel spans hundreds of miles of the
// globe around the antipode, are not scored.
//
//  - No pixel wholly on land may be painted water (a fill that leaked through the outlines, or a
//    seed that flooded the land around its lake).
//  - Ocean and lake pixels left land-coloured are counted and reported.
//
// Slow (about a minute); run on request: ctest -L slow (after configuring with
// -DORBELLE_SLOW_TESTS=ON), or run the program itself. The mask is $ORBELLE_LANDMASK, or
// landmask.bin in the build folder (made by tools/mapdata/make_landmask.sh).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/constants.hpp"
#include "plane/map_plane.hpp"
#include "render/drawing_pass.hpp"
#include "render/outline_records.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

constexpr int kSide = 600;
constexpr int kStations = 100;
constexpr std::uint64_t kStationSeed = 20241206;
// Pixels whose centre lies farther out than this are not scored (the rim is at 12422.565).
constexpr double kScoredRadiusMiles = 12300.0;

// Shoreline level per cell: 0 ocean, 1 land, 2 lake, 3 island in a lake, 4 pond.
class LandMask {
 public:
  explicit LandMask(const std::string& path) {
    const auto bytes = readWholeFile(path);
    if (!bytes) throw std::runtime_error(path + ": no mask (tools/mapdata/make_landmask.sh)");
    if (bytes->size() < 24 || std::memcmp(bytes->data(), "LANDMASK", 8) != 0) {
      throw std::runtime_error(path + ": not a land mask");
    }
    auto u32 = [&](std::size_t at) {
      std::uint32_t v = 0;
      for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>((*bytes)[at + i]);
      return v;
    };
    columns_ = u32(8);
    rows_ = u32(12);
    if (columns_ == 0 || rows_ == 0 || bytes->size() != 24 + std::size_t{columns_} * rows_) {
      throw std::runtime_error(path + ": mask size does not match its header");
    }
    cells_.resize(std::size_t{columns_} * rows_);
    std::memcpy(cells_.data(), bytes->data() + 24, cells_.size());
  }
  int level(double lat, double lon) const {
    double row = (90.0 - lat) / 180.0 * rows_;
    double column = (lon + 180.0) / 360.0 * columns_;
    const auto r = static_cast<std::uint32_t>(std::clamp(row, 0.0, rows_ - 1.0));
    auto c = static_cast<std::int64_t>(std::floor(column)) % columns_;
    if (c < 0) c += columns_;
    return cells_[std::size_t{r} * columns_ + static_cast<std::size_t>(c)];
  }

 private:
  std::uint32_t columns_ = 0, rows_ = 0;
  std::vector<std::uint8_t> cells_;
};

// The position at map point (x, y) miles from the station (inverse of the azimuthal projection).
void inverse(double latHere, double lonHere, double x, double y, double& lat, double& lon) {
  const double k = geo::kDegToRad;
  const double c = std::hypot(x, y) / geo::kMilesPerDegree * k;
  const double beta = std::atan2(x, y);
  const double p1 = latHere * k;
  const double sinLat = std::sin(p1) * std::cos(c) + std::cos(p1) * std::sin(c) * std::cos(beta);
  const double p2 = std::asin(std::clamp(sinLat, -1.0, 1.0));
  const double dl =
      std::atan2(std::sin(beta) * std::sin(c) * std::cos(p1), std::cos(c) - std::sin(p1) * sinLat);
  lat = p2 / k;
  lon = std::remainder(lonHere + dl / k, 360.0);
}

enum class Truth { Land, Ocean, Lake, Mixed };

// Where ocean pixels were left land-coloured, by 5° cell, across all stations.
std::map<std::pair<int, int>, std::int64_t> gOceanLeftCells;

struct Score {
  std::int64_t scored = 0;  // pixels wholly on one side, land/water/ice coloured
  std::int64_t landPaintedWater = 0;
  std::int64_t oceanLeftLand = 0;
  std::int64_t lakeLeftLand = 0;
  std::int64_t oceanPixels = 0;
  std::int64_t lakePixels = 0;
};

class AtScale : public ::testing::Test {
 protected:
  static std::string maskPath() {
    if (const char* path = std::getenv("ORBELLE_LANDMASK")) return path;
    return ORBELLE_BINARY_DIR "/landmask.bin";
  }

  Truth truthAt(const LandMask& mask, const geo::MapPlane& plane, double x, double y,
                double halfPixel) const {
    auto kind = [&](double px, double py) {
      double lat, lon;
      inverse(plane.LatHere, plane.LonHere, px, py, lat, lon);
      const int level = mask.level(lat, lon);
      if (level % 2 == 1) return Truth::Land;
      return level == 0 ? Truth::Ocean : Truth::Lake;
    };
    const Truth centre = kind(x, y);
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if ((dx != 0 || dy != 0) && kind(x + dx * halfPixel, y + dy * halfPixel) != centre) {
          return Truth::Mixed;
        }
      }
    }
    return centre;
  }

  Score score(const LandMask& mask, const geo::MapPlane& plane, const raster::Surface& map,
              const PassOptions& options) const {
    Score s;
    const double mpp = map.unitWidth();
    for (int py = 0; py < map.height(); ++py) {
      for (int px = 0; px < map.width(); ++px) {
        const raster::Rgb c = *map.pixel(px, py);
        const bool water = c == options.WaterColor, land = c == options.LandColor;
        if (!water && !land && c != options.IceColor) continue;
        const double x = map.scaleLeft() + px * mpp, y = map.scaleTop() - py * mpp;
        if (std::hypot(x, y) > kScoredRadiusMiles) continue;
        const Truth truth = truthAt(mask, plane, x, y, mpp / 2.0);
        if (truth == Truth::Mixed) continue;
        ++s.scored;
        if (truth == Truth::Land && water) ++s.landPaintedWater;
        if (truth == Truth::Ocean) {
          ++s.oceanPixels;
          s.oceanLeftLand += land;
          if (land) {
            double lat, lon;
            inverse(plane.LatHere, plane.LonHere, x, y, lat, lon);
            ++gOceanLeftCells[{static_cast<int>(std::floor(lat / 5.0)) * 5,
                               static_cast<int>(std::floor(lon / 5.0)) * 5}];
          }
        }
        if (truth == Truth::Lake) {
          ++s.lakePixels;
          s.lakeLeftLand += land;
        }
      }
    }
    return s;
  }
};

TEST_F(AtScale, RandomWholeEarthMapsNeverPaintLandWater) {
  ASSERT_TRUE(test::shippedDataPresent());
  const LandMask mask(maskPath());
  std::mt19937_64 random(kStationSeed);
  std::uniform_real_distribution<double> z(-1.0, 1.0), lon(-180.0, 180.0);
  Score total;
  int stationsWithLeak = 0, stationsWithOceanLeft = 0;
  std::int64_t worstOceanLeft = 0;
  for (int i = 0; i < kStations; ++i) {
    geo::MapPlane plane;
    plane.LatHere = std::asin(z(random)) / geo::kDegToRad;
    plane.LonHere = lon(random);
    plane.MaxDx = geo::kWholeEarthMiles;
    PassOptions options;
    test::RecordingWindow window(kSide);
    DrawingPass pass(window, plane, options, test::shippedProgramFolder());
    pass.cmdDraw_Click();
    ASSERT_TRUE(window.cached.has_value());
    const Score s = score(mask, plane, *window.cached, options);
    std::printf(
        "station %3d (%7.2f, %8.2f): scored %6lld  land painted water %4lld  "
        "ocean left land %5lld of %6lld  lake left land %4lld of %5lld\n",
        i + 1, plane.LatHere, plane.LonHere, static_cast<long long>(s.scored),
        static_cast<long long>(s.landPaintedWater), static_cast<long long>(s.oceanLeftLand),
        static_cast<long long>(s.oceanPixels), static_cast<long long>(s.lakeLeftLand),
        static_cast<long long>(s.lakePixels));
    EXPECT_EQ(s.landPaintedWater, 0) << "station " << plane.LatHere << ", " << plane.LonHere;
    total.scored += s.scored;
    total.landPaintedWater += s.landPaintedWater;
    total.oceanLeftLand += s.oceanLeftLand;
    total.oceanPixels += s.oceanPixels;
    total.lakeLeftLand += s.lakeLeftLand;
    total.lakePixels += s.lakePixels;
    stationsWithLeak += s.landPaintedWater > 0;
    stationsWithOceanLeft += s.oceanLeftLand > 0;
    worstOceanLeft = std::max(worstOceanLeft, s.oceanLeftLand);
  }
  std::printf(
      "total over %d stations: scored %lld pixels; land painted water %lld (%d stations); "
      "ocean left land %lld of %lld (%.4f%%, %d stations, worst %lld); "
      "lake left land %lld of %lld (%.1f%%)\n",
      kStations, static_cast<long long>(total.scored),
      static_cast<long long>(total.landPaintedWater), stationsWithLeak,
      static_cast<long long>(total.oceanLeftLand), static_cast<long long>(total.oceanPixels),
      100.0 * total.oceanLeftLand / std::max<std::int64_t>(1, total.oceanPixels),
      stationsWithOceanLeft, static_cast<long long>(worstOceanLeft),
      static_cast<long long>(total.lakeLeftLand), static_cast<long long>(total.lakePixels),
      100.0 * total.lakeLeftLand / std::max<std::int64_t>(1, total.lakePixels));
  EXPECT_EQ(total.landPaintedWater, 0);

  // The 5° cells that held most of the ocean left land-coloured.
  std::vector<std::pair<std::int64_t, std::pair<int, int>>> cells;
  for (auto [cell, n] : gOceanLeftCells) cells.emplace_back(n, cell);
  std::sort(cells.rbegin(), cells.rend());
  for (std::size_t i = 0; i < std::min<std::size_t>(cells.size(), 25); ++i) {
    std::printf("ocean left land near %4d, %5d: %lld pixels\n", cells[i].second.first,
                cells[i].second.second, static_cast<long long>(cells[i].first));
  }
}

}  // namespace
}  // namespace orbelle::render
