// The pass on the shipped data, and every vertex's projection against the literal formula.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "geometry/projection.hpp"
#include "geometry/rounding.hpp"
#include "render/drawing_pass.hpp"
#include "render/outline_loader.hpp"
#include "render/pass_style.hpp"
#include "render/vertex_projection.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

// Maps on which a fixed seed table once left water or ice unfilled; probes lie inside their area
// and read the most common colour of the 3 × 3 pixels round them (a border line may cross one). The
// default map is pinned whole: every pixel as drawn since the region decisions came (FNV-1a 64 over
// the colours, row by row); making the pass faster must not move one.
TEST(ShippedMap, WaterLandAndIceAreFilledWhateverLiesOnTheMap) {
  ASSERT_TRUE(test::shippedDataPresent()) << "no outline data in " << test::shippedProgramFolder();
  const PassOptions options;
  const raster::Rgb land = options.LandColor, water = options.WaterColor, ice = options.IceColor;
  struct Probe {
    const char* where;
    double lat, lon;
    raster::Rgb colour;
  };
  struct Map {
    double lat, lon;
    std::int16_t maxDx;
    int side;
    std::vector<Probe> probes;
  };
  const Map maps[] = {
      {33.9,
       -84.179,
       12437,
       600,
       {{"mid-Pacific", 10.0, -150.0, water},
        {"Sahara", 24.0, 5.0, land},
        {"Greenland", 72.0, -40.0, ice},
        {"Antarctica", -80.0, 0.0, ice},
        {"Caspian Sea", 42.0, 50.5, water},
        {"Red Sea", 20.0, 38.5, water}}},
      {33.9,
       -84.179,
       12437,
       1600,
       {{"Lake Superior", 47.6, -87.4, water}, {"Lake Victoria", -1.0, 33.0, water}}},
      {33.9,
       -84.179,
       1200,
       600,
       {{"Lake Erie", 42.2, -81.2, water},
        {"Lake Ontario, Canadian part", 43.8, -77.8, water},
        {"Lake Huron", 44.8, -82.3, water}}},
      {-34.6,
       -58.4,
       1500,
       600,
       {{"Pacific, cut off by the edge", -35.0, -78.0, water},
        {"South Atlantic", -40.0, -52.0, water}}},
      {64.15,
       -21.94,
       600,
       600,
       {{"Greenland, its seed off the map", 68.0, -38.0, ice},
        {"Denmark Strait", 66.5, -27.0, water}}},
      {59.3, 18.1, 300, 600, {{"Vänern", 58.9, 13.4, water}, {"Baltic Sea", 58.5, 20.0, water}}},
      {-12.0, -77.0, 800, 600, {{"Titicaca", -15.8, -69.4, water}}}};
  for (const Map& m : maps) {
    geo::MapPlane plane{.LatHere = m.lat, .LonHere = m.lon, .MaxDx = m.maxDx};
    test::RecordingWindow window(m.side);
    DrawingPass(window, plane, options, test::shippedProgramFolder()).cmdDraw_Click();
    ASSERT_TRUE(window.messages.empty()) << window.messages.front();
    const raster::Surface& map = *window.cached;
    for (const Probe& p : m.probes) {
      const geo::PixelIndex at = test::pixelAt(plane, map, p.lat, p.lon);
      std::map<raster::Rgb, int> counts;
      for (int i = 0; i < 9; ++i) {
        if (auto c = map.pixel(at.px + i % 3 - 1, at.py + i / 3 - 1)) ++counts[*c];
      }
      EXPECT_EQ(std::max_element(counts.begin(), counts.end(),
                                 [](auto a, auto b) { return a.second < b.second; })
                    ->first,
                p.colour)
          << m.lat << ", " << m.lon << ", " << m.maxDx << " mi, " << m.side << " px: " << p.where;
    }
    if (&m != maps) continue;
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 600; ++x) hash = (hash ^ *map.pixel(x, y)) * 0x100000001b3u;
    }
    EXPECT_EQ(hash, 0xeb4aebc59b3ee729u);
  }
}

// Within 1e-6 mile before rounding, and equal after it except within 1e-6 of a tie.
TEST(ShippedData, EveryVertexProjectsWithinAMillionthOfAMileOfTheLiteralFormula) {
  ASSERT_TRUE(test::shippedDataPresent());
  std::vector<std::string> paths;
  for (std::string_view name :
       {kStateFile, kCountryFile, kCoastFile, kIslandFile, kLakeFile, kRiverFile})
    paths.push_back(test::shippedProgramFolder() + "/mapdata/" + std::string(name));
  const OutlineProjector unused(0.0, 0.0);
  const OutlineLoader loader(paths, unused, 1);  // one thread: reads, projects nothing yet
  std::vector<OutlineRecord> all;
  for (std::size_t f = 0; f < loader.size(); ++f) {
    EXPECT_EQ(loader.file(f).state, LoadedOutline::State::Read) << paths[f];
    all.insert(all.end(), loader.file(f).records.begin(), loader.file(f).records.end());
  }
  ASSERT_GT(all.size(), 100000u);
  const std::pair<double, double> stations[] = {{33.9, -84.179}, {45.0, -84.0}, {0.0, 0.0},
                                                {89.9, 0.0},     {-89.9, 0.0},  {0.0, 180.0},
                                                {51.5, -0.1},    {-33.9, 151.2}};
  auto nearTie = [](double v) { return std::fabs(std::fabs(v - std::trunc(v)) - 0.5) <= 1e-6; };
  for (auto [lat, lon] : stations) {
    const OutlineProjector fast(lat, lon);
    double worst = 0.0;
    std::size_t roundedDiffer = 0;
    for (const OutlineRecord& r : all) {
      const geo::MapPoint f = fast.project(r.latMinutes, r.lonMinutes);
      const geo::MapPoint l = geo::ProjectPoint(lat, lon, r.latDegrees(), r.lonDegrees());
      worst = std::max({worst, std::fabs(f.x - l.x), std::fabs(f.y - l.y)});
      roundedDiffer += (roundMiles(f.x) != geo::toInt16HalfEven(l.x) && !nearTie(l.x)) ||
                       (roundMiles(f.y) != geo::toInt16HalfEven(l.y) && !nearTie(l.y));
    }
    EXPECT_LE(worst, 1e-6) << "station " << lat << ", " << lon;
    EXPECT_EQ(roundedDiffer, 0u) << "station " << lat << ", " << lon;
  }
}

}  // namespace
}  // namespace orbelle::render
