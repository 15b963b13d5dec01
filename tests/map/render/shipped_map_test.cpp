// The pass on the shipped outline data: probes of the default whole-Earth map, a small map around
// a mid-ocean station, and the projection of every vertex of the data against the literal
// formula.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "plane/map_plane.hpp"
#include "geometry/projection.hpp"
#include "geometry/rounding.hpp"
#include "render/drawing_pass.hpp"
#include "render/outline_records.hpp"
#include "render/pass_style.hpp"
#include "render/vertex_projection.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

constexpr std::array<std::string_view, 6> kFiles{kStateFile,  kCountryFile, kCoastFile,
                                                 kIslandFile, kLakeFile,    kRiverFile};

void requireData() {
  ASSERT_TRUE(test::shippedDataPresent())
      << "no outline data in " << test::shippedProgramFolder() << "/mapdata";
}

std::vector<OutlineRecord> shippedRecords(std::string_view name) {
  const std::string path = test::shippedProgramFolder() + "/mapdata/" + std::string(name);
  const auto bytes = readWholeFile(path);
  if (!bytes) ADD_FAILURE() << path << " is missing";
  std::vector<OutlineRecord> records =
      bytes ? parseOutlineRecords(*bytes) : std::vector<OutlineRecord>{};
  records.resize(recordsBeforeEnd(records));
  return records;
}

class ShippedMap : public ::testing::Test {
 protected:
  void draw(double lat, double lon, std::int16_t maxDx, int side) {
    plane.LatHere = lat;
    plane.LonHere = lon;
    plane.MaxDx = maxDx;
    window = std::make_unique<test::RecordingWindow>(side);
    pass = std::make_unique<DrawingPass>(*window, plane, options, test::shippedProgramFolder());
    pass->cmdDraw_Click();
    ASSERT_TRUE(window->messages.empty()) << window->messages.front();
    ASSERT_TRUE(window->cached.has_value());
  }
  // The most common colour of the 3 × 3 pixels around a position's pixel: a probe that falls on
  // a border line still tells the area around it.
  raster::Rgb areaColour(double lat, double lon) const {
    const geo::PixelIndex p = test::pixelAt(plane, *window->cached, lat, lon);
    std::map<raster::Rgb, int> counts;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (auto c = window->cached->pixel(p.px + dx, p.py + dy)) ++counts[*c];
      }
    }
    raster::Rgb best = 0;
    int most = 0;
    for (auto [colour, n] : counts) {
      if (n > most) {
        best = colour;
        most = n;
      }
    }
    return best;
  }

  // Pixels of a colour within radius (a square) of a position's pixel.
  int countAround(double lat, double lon, raster::Rgb colour, int radius) const {
    const geo::PixelIndex p = test::pixelAt(plane, *window->cached, lat, lon);
    int n = 0;
    for (int dy = -radius; dy <= radius; ++dy) {
      for (int dx = -radius; dx <= radius; ++dx)
        n += window->cached->pixel(p.px + dx, p.py + dy) == colour;
    }
    return n;
  }

  geo::MapPlane plane;
  PassOptions options;
  std::unique_ptr<test::RecordingWindow> window;
  std::unique_ptr<DrawingPass> pass;
};

TEST_F(ShippedMap, DefaultWholeEarthMapHasWaterLandAndIceWhereTheyBelong) {
  requireData();
  draw(33.9, -84.179, 12437, 600);
  struct Probe {
    const char* where;
    double lat, lon;
    raster::Rgb colour;
  };
  const Probe probes[] = {
      {"mid-Atlantic", 30.0, -40.0, options.WaterColor},
      {"mid-Pacific", 10.0, -150.0, options.WaterColor},
      {"South Pacific", -40.0, -120.0, options.WaterColor},
      {"Indian Ocean", -20.0, 80.0, options.WaterColor},
      {"Sahara", 24.0, 5.0, options.LandColor},
      {"Siberia", 65.0, 100.0, options.LandColor},
      {"Brazil", -10.0, -55.0, options.LandColor},
      {"Greenland", 72.0, -40.0, options.IceColor},
      {"Antarctica", -80.0, 0.0, options.IceColor},
  };
  for (const Probe& probe : probes) {
    EXPECT_EQ(areaColour(probe.lat, probe.lon), probe.colour) << probe.where;
  }
  const raster::Surface& map = *window->cached;
  for (auto [x, y] : {std::pair{0, 0}, {599, 0}, {0, 599}, {599, 599}, {40, 40}}) {
    EXPECT_EQ(map.pixel(x, y), raster::kBlack) << x << ", " << y;
  }
  // Every pixel as this map has been drawn since the region decisions came (FNV-1a 64 over the
  // colours, row by row): making the pass faster must not move one.
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 600; ++x) hash = (hash ^ *map.pixel(x, y)) * 0x100000001b3u;
  }
  EXPECT_EQ(hash, 0xeb4aebc59b3ee729u);
}

// Maps on which the fixed seed table once left water land-coloured or ice green: no seed on the
// visible water, a lake with no seed, a seed too near a shore, a border splitting a lake, the
// Greenland seed off the map. Each probe lies a few pixels inside its water body or ice.
TEST_F(ShippedMap, WaterAndIceAreFilledWhateverLiesOnTheMap) {
  requireData();
  struct Probe {
    const char* where;
    double lat, lon;
    bool ice;  // else water
  };
  struct Case {
    const char* station;
    double lat, lon;
    std::int16_t maxDx;
    int side;
    std::vector<Probe> probes;
  };
  const std::vector<Case> cases{
      {"Atlanta", 33.9, -84.179, 12437, 600,
       {{"Caspian Sea", 42.0, 50.5, false}, {"Red Sea", 20.0, 38.5, false}}},
      {"Atlanta", 33.9, -84.179, 12437, 1600,
       {{"Lake Superior", 47.6, -87.4, false}, {"Lake Victoria", -1.0, 33.0, false}}},
      {"Atlanta", 33.9, -84.179, 1200, 600,
       {{"Lake Erie", 42.2, -81.2, false},
        {"Lake Ontario, Canadian part", 43.8, -77.8, false},
        {"Lake Huron", 44.8, -82.3, false}}},
      {"Buenos Aires", -34.6, -58.4, 1500, 600,
       {{"Pacific, cut off by the edge", -35.0, -78.0, false},
        {"South Atlantic", -40.0, -52.0, false}}},
      {"Reykjavik", 64.15, -21.94, 600, 600,
       {{"Greenland, its seed off the map", 68.0, -38.0, true},
        {"Denmark Strait", 66.5, -27.0, false}}},
      {"Stockholm", 59.3, 18.1, 300, 600,
       {{"Vänern", 58.9, 13.4, false}, {"Baltic Sea", 58.5, 20.0, false}}},
      {"Lima", -12.0, -77.0, 800, 600, {{"Titicaca", -15.8, -69.4, false}}},
  };
  for (const Case& c : cases) {
    draw(c.lat, c.lon, c.maxDx, c.side);
    for (const Probe& p : c.probes) {
      EXPECT_EQ(areaColour(p.lat, p.lon), p.ice ? options.IceColor : options.WaterColor)
          << c.station << " " << c.maxDx << " mi, " << c.side << " px: " << p.where;
    }
  }
}

// Stations for the projection checks: the default one, the station of the bearing fault, both
// poles' neighbourhoods, the date line, and random ones.
std::vector<std::pair<double, double>> projectionStations() {
  std::vector<std::pair<double, double>> stations{{33.9, -84.179}, {45.0, -84.0}, {0.0, 0.0},
                                                  {89.9, 0.0},     {-89.9, 0.0},  {0.0, 180.0},
                                                  {51.5, -0.1},    {-33.9, 151.2}};
  std::mt19937_64 random(20240601);
  std::uniform_real_distribution<double> z(-1.0, 1.0), lon(-180.0, 180.0);
  for (int i = 0; i < 6; ++i)
    stations.emplace_back(std::asin(z(random)) / 0.017453292519943278, lon(random));
  return stations;
}

// Within 1e-6 mile of the literal formula before rounding; after rounding to whole miles the two
// can differ only where the literal value lies within that of a tie.
TEST(ShippedData, EveryVertexProjectsWithinAMillionthOfAMileOfTheLiteralFormula) {
  requireData();
  std::vector<OutlineRecord> all;
  for (std::string_view name : kFiles) {
    const std::vector<OutlineRecord> records = shippedRecords(name);
    all.insert(all.end(), records.begin(), records.end());
  }
  ASSERT_GT(all.size(), 100000u);
  auto nearTie = [](double v) { return std::fabs(std::fabs(v - std::trunc(v)) - 0.5) <= 1e-6; };
  for (auto [lat, lon] : projectionStations()) {
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
