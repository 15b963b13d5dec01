// Map correctness at scale: every pixel whose footprint lies wholly on one side of the
// high-resolution mask's shores (rim band aside) is scored for land, water, ice and named lakes,
// on 100 random whole-Earth maps and 12 stations at 6000 to 300 miles. Slow: ctest -L slow with
// -DORBELLE_SLOW_TESTS=ON; the mask is $ORBELLE_LANDMASK or the build folder's landmask.bin.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/constants.hpp"
#include "geometry/plane_inverse.hpp"
#include "plane/map_plane.hpp"
#include "render/drawing_pass.hpp"
#include "render/outline_records.hpp"
#include "render/pass_style.hpp"
#include "render/shore_truth.hpp"
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

enum class Truth : std::uint8_t { Land, Ocean, Lake, Mixed };

// Land painted water allowed on a map, as a share of its scored pixels: specks where the
// intermediate outlines and the high-resolution mask put a shore a pixel or two apart.
constexpr double kMostLandPaintedWater = 0.0001;
// Pixels wholly in water that make a land-coloured region an unfilled water body (when they
// outnumber its pixels wholly on land).
constexpr std::int64_t kLeftBodyPixels = 30;
// Pixels within this many of an outline pixel (a square) are where the intermediate outlines and
// the finer mask may put a shore differently: on maps of a pixel or less per mile that band is
// a few pixels wide along every shore. Land painted water there is not held against the fills.
constexpr int kShoreSlack = 3;

struct Score {
  std::int64_t scored = 0;  // pixels wholly on one side, land/water/ice coloured
  std::int64_t landPaintedWater = 0;
  std::int64_t oceanLeftLand = 0;
  std::int64_t lakeLeftLand = 0;
  std::int64_t oceanPixels = 0;
  std::int64_t lakePixels = 0;
  // Of those, farther than kShoreSlack from an outline and on land in the outline data too.
  std::int64_t landPaintedWaterAway = 0;
  // Land-coloured regions mostly in water (in the mask and the outline data), kLeftBodyPixels or
  // more of it.
  int bodiesLeft = 0;
  std::int64_t largestBodyLeft = 0;
  std::int64_t iceLeftGreen = 0;  // pixels wholly on land inside an ice cap, land-coloured
};

std::vector<std::vector<OutlineRecord>> shoreRecords() {
  std::vector<std::vector<OutlineRecord>> files;
  for (std::string_view name : {kCoastFile, kIslandFile, kLakeFile}) {
    const auto bytes =
        readWholeFile(test::shippedProgramFolder() + "/mapdata/" + std::string(name));
    files.push_back(bytes ? parseOutlineRecords(*bytes) : std::vector<OutlineRecord>{});
    files.back().resize(recordsBeforeEnd(files.back()));
  }
  return files;
}

// The truth of every pixel of a map: its footprint's nine points looked up in the mask, from a
// grid of half-pixel points shared between neighbours.
class MapTruth {
 public:
  MapTruth(const LandMask& mask, const geo::MapPlane& plane, const raster::Surface& map)
      : width_(map.width()), height_(map.height()) {
    const int gw = 2 * width_ + 1, gh = 2 * height_ + 1;
    const double half = map.unitWidth() / 2.0;
    const geo::PlaneInverse inverse(plane.LatHere, plane.LonHere);
    std::vector<Truth> grid(static_cast<std::size_t>(gw) * gh);
    for (int gy = 0; gy < gh; ++gy) {
      for (int gx = 0; gx < gw; ++gx) {
        const double x = map.scaleLeft() + (gx - 1) * half, y = map.scaleTop() - (gy - 1) * half;
        const geo::GeoPosition p = inverse.positionOnCircle({x, y});
        const int level = mask.level(p.lat, p.lon);
        grid[static_cast<std::size_t>(gy) * gw + gx] =
            level % 2 == 1 ? Truth::Land : level == 0 ? Truth::Ocean : Truth::Lake;
      }
    }
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
    for (int py = 0; py < height_; ++py) {
      for (int px = 0; px < width_; ++px) {
        const Truth centre = grid[static_cast<std::size_t>(2 * py + 1) * gw + 2 * px + 1];
        Truth t = centre;
        for (int dy = 0; dy <= 2 && t != Truth::Mixed; ++dy) {
          for (int dx = 0; dx <= 2; ++dx) {
            if (grid[static_cast<std::size_t>(2 * py + dy) * gw + 2 * px + dx] != centre) {
              t = Truth::Mixed;
              break;
            }
          }
        }
        pixels_[static_cast<std::size_t>(py) * width_ + px] = t;
      }
    }
  }
  Truth at(int px, int py) const { return pixels_[static_cast<std::size_t>(py) * width_ + px]; }

 private:
  int width_, height_;
  std::vector<Truth> pixels_;
};

Score scoreMap(const MapTruth& truth, const geo::MapPlane& plane, const raster::Surface& map,
               const PassOptions& options, const ShoreTruth& rings) {
  Score s;
  const int w = map.width(), h = map.height();
  const double mpp = map.unitWidth();
  const geo::PlaneInverse inverse(plane.LatHere, plane.LonHere);
  auto index = [w](int x, int y) { return static_cast<std::size_t>(y) * w + x; };
  auto ringsAt = [&](double x, double y) {
    const geo::GeoPosition p = inverse.positionOnCircle({x, y});
    return rings.at(p.lat, p.lon);
  };
  auto isFill = [&](raster::Rgb c) {
    return c == options.WaterColor || c == options.LandColor || c == options.IceColor;
  };
  std::vector<char> nearOutline(static_cast<std::size_t>(w) * h, 0);
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      if (isFill(*map.pixel(px, py))) continue;
      for (int y = std::max(0, py - kShoreSlack); y <= std::min(h - 1, py + kShoreSlack); ++y) {
        for (int x = std::max(0, px - kShoreSlack); x <= std::min(w - 1, px + kShoreSlack); ++x) {
          nearOutline[index(x, y)] = 1;
        }
      }
    }
  }
  // Scored pixels: 1 wholly on land, 2 wholly in water, 0 otherwise.
  std::vector<char> side(static_cast<std::size_t>(w) * h, 0);
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      const raster::Rgb c = *map.pixel(px, py);
      if (!isFill(c)) continue;
      const bool water = c == options.WaterColor, land = c == options.LandColor;
      const double x = map.scaleLeft() + px * mpp, y = map.scaleTop() - py * mpp;
      if (std::hypot(x, y) > kScoredRadiusMiles) continue;
      const Truth t = truth.at(px, py);
      if (t == Truth::Mixed) continue;
      ++s.scored;
      if (t == Truth::Land) {
        side[index(px, py)] = 1;
        s.landPaintedWater += water;
        if (nearOutline[index(px, py)] || (!water && !land)) continue;
        const geo::RingMask m = ringsAt(x, y);
        s.landPaintedWaterAway += water && (m & kLandBit) != 0;
        s.iceLeftGreen += land && (m & (kLandBit | kIceBit)) == (kLandBit | kIceBit);
        continue;
      }
      // Water the outline data lacks (reservoirs and lagoons below its resolution) is not the
      // fills' to find.
      if (land && (ringsAt(x, y) & kLandBit) == 0) side[index(px, py)] = 2;
      (t == Truth::Ocean ? s.oceanPixels : s.lakePixels) += 1;
      (t == Truth::Ocean ? s.oceanLeftLand : s.lakeLeftLand) += land;
    }
  }
  // Land-coloured regions as the map shows them, and how much of each lies in water.
  std::vector<char> seen(static_cast<std::size_t>(w) * h, 0);
  std::vector<std::pair<int, int>> stack;
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      if (seen[index(px, py)] || map.pixel(px, py) != options.LandColor) continue;
      std::int64_t inWater = 0, onLand = 0;
      stack.assign(1, {px, py});
      seen[index(px, py)] = 1;
      while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        inWater += side[index(x, y)] == 2;
        onLand += side[index(x, y)] == 1;
        for (auto [nx, ny] : {std::pair{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}}) {
          if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[index(nx, ny)]) continue;
          if (map.pixel(nx, ny) != options.LandColor) continue;
          seen[index(nx, ny)] = 1;
          stack.push_back({nx, ny});
        }
      }
      if (inWater >= kLeftBodyPixels && inWater > onLand) {
        ++s.bodiesLeft;
        s.largestBodyLeft = std::max(s.largestBodyLeft, inWater);
      }
    }
  }
  return s;
}

class AtScale : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    mask_ = std::make_unique<LandMask>(maskPath());
    const auto files = shoreRecords();
    rings_ = std::make_unique<ShoreTruth>(
        std::vector<std::span<const OutlineRecord>>(files.begin(), files.end()));
  }
  static std::string maskPath() {
    if (const char* path = std::getenv("ORBELLE_LANDMASK")) return path;
    return ORBELLE_BINARY_DIR "/landmask.bin";
  }

  // Draws the map and checks the goals common to every map; returns its score.
  Score drawAndScore(double lat, double lon, std::int16_t maxDx, int side,
                     std::optional<MapTruth>& truth, raster::Surface& map) {
    geo::MapPlane plane;
    plane.LatHere = lat;
    plane.LonHere = lon;
    plane.MaxDx = maxDx;
    test::RecordingWindow window(side);
    DrawingPass pass(window, plane, options_, test::shippedProgramFolder());
    pass.cmdDraw_Click();
    EXPECT_TRUE(window.cached.has_value());
    if (!window.cached) return {};
    map = *window.cached;
    truth.emplace(*mask_, plane, map);
    const Score s = scoreMap(*truth, plane, map, options_, *rings_);
    std::printf(
        "(%7.2f, %8.2f) %5d mi %4d px: scored %7lld  land painted water %4lld (%lld away from "
        "shores)  ocean left land %5lld of %7lld  lake left land %4lld of %6lld  bodies left %d "
        "(largest %lld)  ice left green %lld\n",
        lat, lon, maxDx, side, static_cast<long long>(s.scored),
        static_cast<long long>(s.landPaintedWater),
        static_cast<long long>(s.landPaintedWaterAway), static_cast<long long>(s.oceanLeftLand),
        static_cast<long long>(s.oceanPixels), static_cast<long long>(s.lakeLeftLand),
        static_cast<long long>(s.lakePixels), s.bodiesLeft,
        static_cast<long long>(s.largestBodyLeft), static_cast<long long>(s.iceLeftGreen));
    const std::string where = std::to_string(lat) + ", " + std::to_string(lon) + ", " +
                              std::to_string(maxDx) + " mi, " + std::to_string(side) + " px";
    EXPECT_LE(static_cast<double>(s.landPaintedWaterAway),
              kMostLandPaintedWater * static_cast<double>(s.scored))
        << where;
    EXPECT_EQ(s.bodiesLeft, 0) << where;
    EXPECT_LE(static_cast<double>(s.iceLeftGreen),
              kMostLandPaintedWater * static_cast<double>(s.scored))
        << where;
    return s;
  }

  static std::unique_ptr<LandMask> mask_;
  static std::unique_ptr<ShoreTruth> rings_;
  PassOptions options_;
};

std::unique_ptr<LandMask> AtScale::mask_;
std::unique_ptr<ShoreTruth> AtScale::rings_;

TEST_F(AtScale, RandomWholeEarthMaps) {
  ASSERT_TRUE(test::shippedDataPresent());
  std::mt19937_64 random(kStationSeed);
  std::uniform_real_distribution<double> z(-1.0, 1.0), lon(-180.0, 180.0);
  Score total;
  for (int i = 0; i < kStations; ++i) {
    const double lat = std::asin(z(random)) / geo::kDegToRad;
    std::optional<MapTruth> truth;
    raster::Surface map(1, 1);
    const Score s = drawAndScore(lat, lon(random), geo::kWholeEarthMiles, kSide, truth, map);
    total.scored += s.scored;
    total.landPaintedWater += s.landPaintedWater;
    total.oceanLeftLand += s.oceanLeftLand;
    total.oceanPixels += s.oceanPixels;
  }
  std::printf("total over %d stations: scored %lld; land painted water %lld; ocean left land "
              "%lld of %lld (%.4f%%)\n",
              kStations, static_cast<long long>(total.scored),
              static_cast<long long>(total.landPaintedWater),
              static_cast<long long>(total.oceanLeftLand),
              static_cast<long long>(total.oceanPixels),
              100.0 * total.oceanLeftLand / std::max<std::int64_t>(1, total.oceanPixels));
}

struct NamedLake {
  const char* name;
  double lat, lon;  // a point in its middle
};

constexpr NamedLake kLakes[] = {
    {"Onega", 61.7, 35.5},       {"Vanern", 58.9, 13.4},     {"Titicaca", -15.8, -69.4},
    {"Athabasca", 59.2, -109.5}, {"Baikal", 53.5, 108.0},    {"Erie", 42.2, -81.2},
    {"Ontario", 43.7, -77.9},    {"Huron", 44.8, -82.3},     {"Caspian", 42.0, 50.5},
    {"Superior", 47.6, -87.4},   {"Victoria", -1.0, 33.0},   {"Ladoga", 60.8, 31.5},
    {"Malawi", -12.0, 34.5},
};

// The stations and radii at which the map once stayed land-coloured over whole seas and lakes.
TEST_F(AtScale, NamedStationsAtEveryRadius) {
  ASSERT_TRUE(test::shippedDataPresent());
  struct Station {
    const char* name;
    double lat, lon;
  };
  const Station stations[] = {
      {"Atlanta", 33.75, -84.39},   {"London", 51.5, -0.13},       {"Tokyo", 35.68, 139.69},
      {"Sydney", -33.87, 151.21},   {"Cape Town", -33.92, 18.42},  {"Anchorage", 61.22, -149.9},
      {"Moscow", 55.76, 37.62},     {"Buenos Aires", -34.6, -58.38}, {"Honolulu", 21.31, -157.86},
      {"Reykjavik", 64.15, -21.94}, {"Singapore", 1.35, 103.82},   {"Denver", 39.74, -104.99},
  };
  std::map<std::string, int> lakeChecked;
  for (const Station& station : stations) {
    for (std::int16_t radius : {12437, 6000, 3000, 1500, 800, 300}) {
      for (int side : {600, 1200}) {
        std::optional<MapTruth> truth;
        raster::Surface map(1, 1);
        drawAndScore(station.lat, station.lon, radius, side, truth, map);
        if (!truth) continue;
        geo::MapPlane plane;
        plane.LatHere = station.lat;
        plane.LonHere = station.lon;
        plane.MaxDx = radius;
        geo::SetMapScale(plane, map);
        for (const NamedLake& lake : kLakes) {
          const geo::PixelIndex p = test::pixelAt(plane, map, lake.lat, lake.lon);
          bool wide = true;
          for (int dy = -2; dy <= 2 && wide; ++dy) {
            for (int dx = -2; dx <= 2 && wide; ++dx) {
              const int x = p.px + dx, y = p.py + dy;
              wide = x >= 0 && y >= 0 && x < map.width() && y < map.height() &&
                     truth->at(x, y) == Truth::Lake;
            }
          }
          if (!wide) continue;
          ++lakeChecked[lake.name];
          int green = 0;  // a border line may cross the lake: only land colour is a fault
          for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
              green += map.pixel(p.px + dx, p.py + dy) == options_.LandColor;
            }
          }
          EXPECT_EQ(green, 0) << lake.name << " from " << station.name << " at " << radius
                              << " mi, " << side << " px";
        }
      }
    }
  }
  for (const NamedLake& lake : kLakes) {
    EXPECT_GT(lakeChecked[lake.name], 0) << lake.name << " was never wide enough to check";
  }
}

}  // namespace
}  // namespace orbelle::render
