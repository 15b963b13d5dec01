// The drawing pass on hand-made outline files.

#include "render/drawing_pass.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/constants.hpp"
#include "plane/map_plane.hpp"
#include "render/pass_style.hpp"
#include "render/shore_crossings.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

using test::endOfData;
using test::lineTo;
using test::start;

constexpr int kSide = 300;
constexpr raster::Rgb kGrey = raster::rgb(128, 128, 128);

// A closed ring of 0.1° steps around a box of latitudes and longitudes (degrees).
std::vector<OutlineRecord> boxRing(double south, double west, double north, double east) {
  std::vector<OutlineRecord> records;
  auto minutes = [](double degrees) { return static_cast<int>(degrees * 60.0); };
  auto add = [&](double lat, double lon) {
    records.push_back(records.empty() ? start(minutes(lat), minutes(lon))
                                      : lineTo(minutes(lat), minutes(lon)));
  };
  for (double lon = west; lon < east; lon += 0.1) add(south, lon);
  for (double lat = south; lat < north; lat += 0.1) add(lat, east);
  for (double lon = east; lon > west; lon -= 0.1) add(north, lon);
  for (double lat = north; lat > south; lat -= 0.1) add(lat, west);
  add(south, west);
  return records;
}

bool samePixels(const raster::Surface& a, const raster::Surface& b) {
  return std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels());
}

std::vector<OutlineRecord> withEnd(std::vector<OutlineRecord> records) {
  records.push_back(endOfData());
  return records;
}

class DrawingPassTest : public ::testing::Test {
 protected:
  DrawingPassTest() {
    plane.LatHere = 0.0;
    plane.LonHere = 0.0;
    plane.MaxDx = geo::kWholeEarthMiles;
    // An island around (10 N, 10 E), the two ice caps, a state line, a border and a river.
    folder.write("state.pnt", withEnd({start(600, 540), lineTo(660, 600)}));
    folder.write("country.pnt", withEnd({start(540, 540), lineTo(600, 660)}));
    folder.write("coast.velapnt", withEnd(boxRing(5.0, 5.0, 15.0, 15.0)));
    // The ice caps are a few pixels across around their ice positions (at 83 miles per pixel).
    std::vector<OutlineRecord> islands = boxRing(-84.0, 0.0, -74.0, 100.0);
    const std::vector<OutlineRecord> greenland = boxRing(68.0, -60.0, 80.0, -25.0);
    islands.insert(islands.end(), greenland.begin(), greenland.end());
    folder.write("island.pnt", withEnd(islands));
    folder.write("lake.pnt", withEnd({start(-600, -600), lineTo(-660, -660)}));
    folder.write("river.pnt", withEnd({start(-1200, 1200), lineTo(-1800, 1800)}));
  }

  std::optional<raster::Rgb> colourAt(const raster::Surface& s, double lat, double lon) const {
    return test::colourAt(plane, s, lat, lon);
  }

  test::ProgramFolder folder;
  geo::MapPlane plane;
  PassOptions options;
  test::RecordingWindow window{kSide};
  DrawingPass pass{window, plane, options, folder.string()};
};

// A whole pass with rivers: the window's calls in order, one yield per polyline start (state,
// country, coast, two islands, lake, river), the map layer cleared to white after the cache.
// Black outside the rim, land or water just inside it; azimuth marks every 45° on the whole-Earth
// circle except at 90° where the edge ticks run eight pixels in from the middle of each edge.
// Outlines in their colours, the rivers in water colour, red dots on top.
TEST_F(DrawingPassTest, ACompletedWholeEarthPass) {
  options.ShowRivers = true;
  // A detail level of the rivers, for maps of 1.5 miles per pixel or finer: not read here.
  folder.write("river4.pnt", withEnd({start(-1200, -1200), lineTo(-1800, -1800)}));
  pass.cmdDraw_Click();
  EXPECT_EQ(pass.lastFigures().files.size(), 6u);
  const std::vector<std::string> expected{"drawing 1", "begin",     "cache",
                                          "end",       "drawing 0", "overlay"};
  EXPECT_EQ(window.calls, expected);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_FALSE(window.Drawing);
  EXPECT_FALSE(pass.running());
  EXPECT_TRUE(pass.lastFigures().completed);
  EXPECT_EQ(window.yields, 7);
  EXPECT_EQ(test::countOf(window.mapLayer, raster::kWhite), kSide * kSide);
  ASSERT_TRUE(window.cached.has_value());

  const raster::Surface& map = *window.cached;
  const double mpp = 2.0 * geo::kWholeEarthMiles / kSide;
  EXPECT_DOUBLE_EQ(window.mapLayer.unitWidth(), mpp);
  for (auto [x, y] : {std::pair{0, 0}, {kSide - 1, 0}, {0, kSide - 1}, {kSide - 1, kSide - 1}})
    EXPECT_EQ(map.pixel(x, y), raster::kBlack) << x << ", " << y;
  const double rim = geo::kRimRadiusMiles, tick = geo::kTickRadiusMiles * 0.70710678;
  const double edge = geo::kWholeEarthMiles - 5 * mpp;
  const double rx = rim * 0.6, ry = rim * 0.8;
  const geo::MapPoint grey[] = {{rx, ry},  {tick, tick}, {tick, -tick}, {-edge, 0},
                                {edge, 0}, {0, edge},    {0, -edge}};
  for (auto [x, y] : grey) EXPECT_EQ(map.point(x, y), kGrey) << x << ", " << y;
  EXPECT_NE(map.point(0.97 * rx, 0.97 * ry), raster::kBlack);
  EXPECT_NE(map.point(-geo::kWholeEarthMiles + 12 * mpp, 0.0), kGrey);

  EXPECT_EQ(colourAt(map, 10.5, 9.5), kStateColor);           // midway along the state line
  EXPECT_EQ(colourAt(map, 9.5, 10.0), kCountryColor);         // midway along the border
  EXPECT_EQ(colourAt(map, 5.0, 10.0), kShoreColor);           // the island's south shore
  EXPECT_EQ(colourAt(map, -25.0, 25.0), options.WaterColor);  // the river, over the ocean
  EXPECT_EQ(map.point(0.0, 0.0), kMarkerColor);
  EXPECT_EQ(colourAt(map, 89.9, 0.0), kMarkerColor);
  EXPECT_EQ(colourAt(map, -89.9, 0.0), kMarkerColor);
}

// Regions are decided with no seed on the map, a lake too narrow for seeds, the ice seed away.
TEST_F(DrawingPassTest, RegionsAreDecidedFromTheShoreRingsOnAnyMap) {
  // A wide lake and a lake two pixels tall (at 6.67 miles per pixel) on the island.
  std::vector<OutlineRecord> lakes = boxRing(8.0, 8.0, 12.0, 12.0);
  const std::vector<OutlineRecord> narrow = boxRing(13.0, 6.0, 13.2, 14.0);
  lakes.insert(lakes.end(), narrow.begin(), narrow.end());
  folder.write("lake.pnt", withEnd(lakes));
  struct Probe {
    double lat, lon;
    raster::Rgb colour;
  };
  auto check = [&](const char* map, double lat, double lon, std::int16_t maxDx,
                   const std::vector<Probe>& probes) {
    plane.LatHere = lat;
    plane.LonHere = lon;
    plane.MaxDx = maxDx;
    pass.cmdDraw_Click();
    ASSERT_TRUE(window.cached.has_value());
    for (const Probe& p : probes)
      EXPECT_EQ(colourAt(*window.cached, p.lat, p.lon), p.colour)
          << map << ": " << p.lat << ", " << p.lon;
    EXPECT_EQ(pass.lastFigures().regions.undecided, 0) << map;
  };
  const raster::Rgb land = options.LandColor, water = options.WaterColor, ice = options.IceColor;
  check("whole Earth", 0.0, 0.0, geo::kWholeEarthMiles,
        {{-30.0, -30.0, water}, {40.0, 100.0, water}, {-79.0, 50.0, ice}, {74.0, -41.0, ice}});
  check("island and its lakes", 10.0, 10.0, 1000,
        {{11.0, 11.0, water},
         {13.1, 10.0, water},
         {6.5, 10.0, land},
         {14.5, 7.0, land},
         {0.0, 10.0, water},
         {10.0, 0.0, water}});
  check("Greenland without its ice position", 70.0, -30.0, 250,
        {{69.5, -28.0, ice}, {71.0, -35.0, ice}, {70.0, -22.0, water}});
}

// The depth a pixel needs to decide its region grows as pixels shrink and near the antipode.
TEST(RegionFills, DepthNeededGrowsAsPixelsShrinkAndNearTheAntipode) {
  const std::tuple<double, double, int> cases[] = {
      {2.0 * 12437 / 600, 300.0, 2},
      {600.0 / 600, 12000.0, 3},
      {600.0 / 1200, 12000.0, 4},
      {1.0, 300.0, 4},
      {1.0, 100.0, 4},  // never nearer than kDeepClearMiles
      {0.0, 12000.0, 0}};
  for (auto [milesPerPixel, miles, depth] : cases)
    EXPECT_EQ(depthNeeded(milesPerPixel, miles), depth) << milesPerPixel << ", " << miles;
}

// The shore lines handed over as whole pixels (the pass's way) and as map miles (its fallback
// after the surface's scale changed under it) give the same crossings on every row.
TEST(ShoreCrossings, WholePixelsAndMilesGiveTheSameCrossings) {
  geo::MapPlane plane;
  plane.MaxDx = 3000;
  raster::Surface surface(kSide, kSide);
  geo::SetMapScale(plane, surface);
  ShoreCrossings byMiles(surface), byPixels(surface);
  const raster::PixelMapping mapping = byPixels.mapping();
  std::mt19937 random(7);
  std::uniform_real_distribution<double> miles(-3200.0, 3200.0);
  std::vector<geo::RingMask> masks;
  for (int ring = 0; ring < 8; ++ring) {
    byMiles.beginRing();
    byPixels.beginRing();
    masks.push_back(static_cast<geo::RingMask>(1u << ring));
    double x = miles(random), y = miles(random);
    for (int i = 0; i < 40; ++i) {
      // Mostly short steps, some landing exactly on a pixel row's centre.
      const double nx = x + miles(random) / 20.0,
                   ny = i % 5 == 0 ? std::round(y) : y + miles(random) / 20.0;
      byMiles.add(x, y, nx, ny);
      byPixels.add(mapping.of(x, y), mapping.of(nx, ny));
      x = nx;
      y = ny;
    }
  }
  byMiles.build(masks);
  byPixels.build(masks);
  ASSERT_GT(byMiles.lineCount(), 0u);
  EXPECT_EQ(byMiles.lineCount(), byPixels.lineCount());
  int crossed = 0;
  for (int y = 0; y < kSide; ++y) {
    for (int xa = -1; xa < kSide; xa += 13) {
      const geo::RingMask a = byMiles.between(y, xa, kSide), b = byPixels.between(y, xa, kSide);
      ASSERT_EQ(a, b) << y << ", " << xa;
      crossed += a != 0;
    }
  }
  EXPECT_GT(crossed, 0);
}

// The river levels a map shows grow as it zooms in; each level's bound is inclusive.
TEST(RiverFiles, MoreLevelsAsMilesPerPixelFall) {
  const std::pair<double, std::size_t> cases[] = {
      {2.0 * 12437 / 600, 1}, {6.01, 1}, {6.0, 2}, {3.0, 3}, {1.5, 4}, {0.5, 4}};
  for (auto [milesPerPixel, levels] : cases) {
    const std::vector<std::string_view> files = riverFiles(milesPerPixel);
    ASSERT_EQ(files.size(), levels) << milesPerPixel;
    EXPECT_EQ(files.front(), kRiverFile);
    for (std::size_t i = 0; i < levels; ++i) EXPECT_EQ(files[i], kRiverLevels[i].file);
  }
}

// A missing file is reported and the pass goes on; rivers off, river.pnt is not looked for.
TEST_F(DrawingPassTest, MissingFilesAreReportedAndThePassGoesOn) {
  std::filesystem::remove(folder.mapDataPath("country.pnt"));
  std::filesystem::remove(folder.mapDataPath("river.pnt"));
  const std::string missing = "File " + folder.string() + "/mapdata/";
  pass.cmdDraw_Click();
  EXPECT_EQ(window.messages, std::vector<std::string>{missing + "country.pnt does not exist"});
  EXPECT_TRUE(pass.lastFigures().completed);
  EXPECT_EQ(colourAt(*window.cached, -30.0, -30.0), options.WaterColor);
  window.messages.clear();
  options.ShowRivers = true;
  pass.cmdDraw_Click();
  EXPECT_EQ(window.messages, (std::vector<std::string>{missing + "country.pnt does not exist",
                                                       missing + "river.pnt does not exist"}));
}

// Cancel at the second yield stops every file at its next start and skips fills and cache.
TEST_F(DrawingPassTest, CancelStopsReadingSkipsTheFillsAndTheCache) {
  pass.requestCancel();
  EXPECT_FALSE(pass.CancelDraw());
  std::filesystem::remove(folder.mapDataPath("lake.pnt"));
  window.onYield = [this](int n) {
    if (n == 2) pass.requestCancel();
  };
  pass.cmdDraw_Click();
  EXPECT_TRUE(pass.CancelDraw());
  const std::vector<std::string> expected{"drawing 1", "begin",     "message",
                                          "end",       "drawing 0", "overlay"};
  EXPECT_EQ(window.calls, expected);
  EXPECT_EQ(window.yields, 4);  // coast and the islands once each; the missing lake still reported
  EXPECT_EQ(window.messages[0], "File " + folder.string() + "/mapdata/lake.pnt does not exist");
  const raster::Surface& map = window.mapLayer;  // left as drawn
  EXPECT_EQ(test::countOf(map, options.WaterColor), 0);
  EXPECT_EQ(test::countOf(map, options.IceColor), 0);
  EXPECT_EQ(map.point(0.0, 0.0), kMarkerColor);
  EXPECT_EQ(colourAt(map, 89.9, 0.0), kMarkerColor);
  EXPECT_FALSE(pass.lastFigures().completed);
  EXPECT_FALSE(window.cached.has_value());

  window.onYield = nullptr;
  pass.cmdDraw_Click();
  EXPECT_FALSE(pass.CancelDraw());
  EXPECT_TRUE(window.cached.has_value());
}

// Requests during a pass (two of them) run one more pass after it; a cancel drops them.
TEST_F(DrawingPassTest, ARequestDuringAPassRunsOneMorePassAfterItUnlessCancelled) {
  window.onYield = [&](int n) {
    if (n == 1 || n == 3) pass.cmdDraw_Click();
  };
  pass.cmdDraw_Click();
  const std::vector<std::string> once{"drawing 1", "begin", "cache", "end", "drawing 0", "overlay"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(window.calls, twice);
  EXPECT_FALSE(pass.running());

  window.calls.clear();
  window.yields = 0;
  window.onYield = [&](int n) {
    if (n == 1) pass.cmdDraw_Click();
    if (n == 2) pass.requestCancel();
  };
  pass.cmdDraw_Click();
  EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), "begin"), 1);
}

// The changed station is a mid-ocean one: its ocean fills the small map, rim and marks off it.
TEST_F(DrawingPassTest, AStationChangedDuringAPassTakesEffectAtTheNextOne) {
  pass.cmdDraw_Click();
  const raster::Surface before = *window.cached;
  window.onYield = [&](int) {
    plane.LatHere = -40.0;
    plane.LonHere = -130.0;
    plane.MaxDx = 100;
  };
  pass.cmdDraw_Click();
  EXPECT_TRUE(samePixels(before, *window.cached));
  window.onYield = nullptr;
  pass.cmdDraw_Click();
  EXPECT_DOUBLE_EQ(window.mapLayer.unitWidth(), 200.0 / kSide);
  const raster::Surface& map = *window.cached;
  EXPECT_EQ(test::countOf(map, raster::kBlack), 0);
  EXPECT_EQ(test::countOf(map, options.LandColor), 0);
  const std::int64_t marks = test::countOf(map, kGrey) + test::countOf(map, kMarkerColor);
  EXPECT_EQ(test::countOf(map, options.WaterColor) + marks, kSide * kSide);
  EXPECT_GT(marks, 0);
  EXPECT_LT(marks, 200);
}

// A pass reusing the last pass's projected vertices draws what a fresh pass draws.
TEST_F(DrawingPassTest, ANewRadiusForTheSameStationDrawsWhatAFreshPassDraws) {
  plane.LatHere = 10.0;
  plane.LonHere = 10.0;
  auto fresh = [&] {
    test::RecordingWindow other(kSide);
    DrawingPass first(other, plane, options, folder.string());
    first.cmdDraw_Click();
    return *other.cached;
  };
  for (std::int16_t radius : {1000, 2000, 1000}) {
    plane.MaxDx = radius;
    pass.cmdDraw_Click();
    EXPECT_TRUE(samePixels(*window.cached, fresh())) << radius;
  }
  folder.write("lake.pnt", withEnd(boxRing(8.0, 8.0, 12.0, 12.0)));
  pass.cmdDraw_Click();
  EXPECT_TRUE(samePixels(*window.cached, fresh())) << "changed lakes";
  plane.LatHere = 12.0;
  pass.cmdDraw_Click();
  EXPECT_TRUE(samePixels(*window.cached, fresh())) << "moved station";
}

TEST_F(DrawingPassTest, AFailingCacheWriteStillEndsThePass) {
  window.onWriteCache = [] { throw std::runtime_error("disk full"); };
  EXPECT_THROW(pass.cmdDraw_Click(), std::runtime_error);
  EXPECT_FALSE(window.Drawing);
  EXPECT_FALSE(pass.running());
  EXPECT_EQ(window.calls.back(), "drawing 0");
  window.onWriteCache = nullptr;
  pass.cmdDraw_Click();
  EXPECT_TRUE(pass.lastFigures().completed);
}

}  // namespace
}  // namespace orbelle::render
