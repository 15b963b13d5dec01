// The drawing pass on hand-made outline files.

#include "render/drawing_pass.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
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
using Calls = std::vector<std::string>;

constexpr int kSide = 300;
constexpr raster::Rgb kGrey = raster::rgb(128, 128, 128);
const Calls kOnePass{"drawing 1", "begin", "cache", "end", "drawing 0", "overlay"};

// Closed rings of 0.1° steps around boxes of latitudes and longitudes (degrees), then the end.
std::vector<OutlineRecord> boxRings(std::vector<std::array<double, 4>> boxes) {
  std::vector<OutlineRecord> records;
  for (auto [south, west, north, east] : boxes) {
    const std::size_t first = records.size();
    auto add = [&](double lat, double lon) {
      const int la = static_cast<int>(lat * 60.0), lo = static_cast<int>(lon * 60.0);
      records.push_back(records.size() == first ? start(la, lo) : lineTo(la, lo));
    };
    for (double lon = west; lon < east; lon += 0.1) add(south, lon);
    for (double lat = south; lat < north; lat += 0.1) add(lat, east);
    for (double lon = east; lon > west; lon -= 0.1) add(north, lon);
    for (double lat = north; lat > south; lat -= 0.1) add(lat, west);
    add(south, west);
  }
  records.push_back(endOfData());
  return records;
}

// An island around (10 N, 10 E), the two ice caps, a state line, a border, a lake line, a river.
class DrawingPassTest : public ::testing::Test {
 protected:
  DrawingPassTest() {
    plane.MaxDx = geo::kWholeEarthMiles;
    folder.write("state.pnt", {start(600, 540), lineTo(660, 600), endOfData()});
    folder.write("country.pnt", {start(540, 540), lineTo(600, 660), endOfData()});
    folder.write("coast.velapnt", boxRings({{5.0, 5.0, 15.0, 15.0}}));
    // The ice caps are a few pixels across around their ice positions (at 83 miles per pixel).
    folder.write("island.pnt", boxRings({{-84.0, 0.0, -74.0, 100.0}, {68.0, -60.0, 80.0, -25.0}}));
    folder.write("lake.pnt", {start(-600, -600), lineTo(-660, -660), endOfData()});
    folder.write("river.pnt", {start(-1200, 1200), lineTo(-1800, 1800), endOfData()});
  }
  std::optional<raster::Rgb> colourAt(const raster::Surface& s, double lat, double lon) const {
    return test::colourAt(plane, s, lat, lon);
  }
  raster::Surface freshPass() {
    test::RecordingWindow other(kSide);
    DrawingPass(other, plane, options, folder.string()).cmdDraw_Click();
    return *other.cached;
  }

  test::ProgramFolder folder;
  geo::MapPlane plane;
  PassOptions options;
  test::RecordingWindow window{kSide};
  DrawingPass pass{window, plane, options, folder.string()};
};

// A whole pass with rivers: calls in order, a yield per polyline start, the layer left white;
// outlines in their colours, rivers in water colour, red dots on top (the rim, the black outside
// it and the azimuth marks are pinned by the shipped map's checksum). river4.pnt is for finer
// maps: not read here.
TEST_F(DrawingPassTest, ACompletedWholeEarthPass) {
  options.ShowRivers = true;
  folder.write("river4.pnt", {start(-1200, -1200), lineTo(-1800, -1800), endOfData()});
  pass.cmdDraw_Click();
  EXPECT_EQ(pass.lastFigures().files.size(), 6u);
  EXPECT_EQ(window.calls, kOnePass);  // no message, drawing ended
  EXPECT_FALSE(pass.running());
  EXPECT_TRUE(pass.lastFigures().completed);
  EXPECT_EQ(window.yields, 7);
  EXPECT_EQ(test::countOf(window.mapLayer, raster::kWhite), kSide * kSide);
  const raster::Surface& map = *window.cached;
  const double mpp = 2.0 * geo::kWholeEarthMiles / kSide;
  EXPECT_DOUBLE_EQ(window.mapLayer.unitWidth(), mpp);
  const std::tuple<double, double, raster::Rgb> probes[] = {
      {10.5, 9.5, kStateColor},          {9.5, 10.0, kCountryColor}, {5.0, 10.0, kShoreColor},
      {-25.0, 25.0, options.WaterColor}, {89.9, 0.0, kMarkerColor},  {-89.9, 0.0, kMarkerColor},
      {0.0, 0.0, kMarkerColor}};
  for (auto [lat, lon, colour] : probes) EXPECT_EQ(colourAt(map, lat, lon), colour) << lat;
}

// Shore lines handed over as whole pixels (the pass's way) and as map miles (its fallback after the
// surface's scale changed under it) give the same crossings on every row.
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
    for (int i = 0; i < 40; ++i) {  // mostly short steps, some ending on a pixel row's centre
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
  EXPECT_EQ(byMiles.lineCount(), byPixels.lineCount());
  int crossed = 0;
  for (int y = 0; y < kSide; ++y) {
    for (int xa = -1; xa < kSide; xa += 13) {
      const geo::RingMask a = byMiles.between(y, xa, kSide);
      ASSERT_EQ(a, byPixels.between(y, xa, kSide)) << y << ", " << xa;
      crossed += a != 0;
    }
  }
  EXPECT_GT(crossed, 0);
}

// A missing file is reported and the pass goes on (river.pnt is looked for only with rivers on:
// the headless window's test has it missing); a failing cache write still ends the pass.
TEST_F(DrawingPassTest, MissingFilesAndAFailingCacheWriteDoNotStopThePass) {
  std::filesystem::remove(folder.mapDataPath("country.pnt"));
  std::filesystem::remove(folder.mapDataPath("river.pnt"));
  const std::string missing = "File " + folder.string() + "/mapdata/";
  window.onWriteCache = [] { throw std::runtime_error("disk full"); };
  EXPECT_THROW(pass.cmdDraw_Click(), std::runtime_error);
  EXPECT_FALSE(window.Drawing || pass.running());
  EXPECT_EQ(window.calls.back(), "drawing 0");
  EXPECT_EQ(window.messages, Calls{missing + "country.pnt does not exist"});
  EXPECT_EQ(colourAt(*window.cached, -30.0, -30.0), options.WaterColor);
}

// Requests during a pass (two of them) run one more pass after it; a cancel outside a pass is
// dropped; a cancel at the second yield drops the request, stops every file at its next start (the
// missing lake still reported) and skips fills and cache.
TEST_F(DrawingPassTest, RequestsDuringAPassRunOneMoreUnlessCancelled) {
  window.onYield = [&](int n) {
    if (n == 1 || n == 3) pass.cmdDraw_Click();
  };
  pass.cmdDraw_Click();
  Calls twice = kOnePass;
  twice.insert(twice.end(), kOnePass.begin(), kOnePass.end());
  EXPECT_EQ(window.calls, twice);

  pass.requestCancel();
  EXPECT_FALSE(pass.CancelDraw());
  std::filesystem::remove(folder.mapDataPath("lake.pnt"));
  window.calls.clear();
  window.yields = 0;
  window.cached.reset();
  window.onYield = [&](int n) {
    if (n == 1) pass.cmdDraw_Click();
    if (n == 2) pass.requestCancel();
  };
  pass.cmdDraw_Click();
  EXPECT_TRUE(pass.CancelDraw());
  EXPECT_EQ(window.calls, (Calls{"drawing 1", "begin", "message", "end", "drawing 0", "overlay"}));
  EXPECT_EQ(window.yields, 4);                   // coast and the islands once each
  const raster::Surface& map = window.mapLayer;  // left as drawn
  EXPECT_EQ(test::countOf(map, options.WaterColor) + test::countOf(map, options.IceColor), 0);
  EXPECT_EQ(colourAt(map, 89.9, 0.0), kMarkerColor);
  EXPECT_FALSE(pass.lastFigures().completed);
  window.onYield = nullptr;
  pass.cmdDraw_Click();
  EXPECT_FALSE(pass.CancelDraw());
  EXPECT_TRUE(window.cached.has_value());
}

// A pass reusing the last pass's projected vertices draws what a fresh pass draws, after a new
// radius, new lakes or a moved station; a station changed during a pass (to a mid-ocean one) takes
// effect at the next pass, whose ocean fills the small map, rim and marks off it.
TEST_F(DrawingPassTest, ANewRadiusLakeOrStationDrawsWhatAFreshPassDraws) {
  plane.LatHere = 10.0;
  plane.LonHere = 10.0;
  for (int step = 0; step < 5; ++step) {
    plane.MaxDx = step == 1 ? 2000 : 1000;
    if (step == 3) folder.write("lake.pnt", boxRings({{8.0, 8.0, 12.0, 12.0}}));
    if (step == 4) plane.LatHere = 12.0;
    pass.cmdDraw_Click();
    EXPECT_TRUE(test::samePixels(*window.cached, freshPass())) << step;
  }
  const raster::Surface before = *window.cached;
  window.onYield = [&](int) { plane = {.LatHere = -40.0, .LonHere = -130.0, .MaxDx = 100}; };
  pass.cmdDraw_Click();
  EXPECT_TRUE(test::samePixels(before, *window.cached));
  window.onYield = nullptr;
  pass.cmdDraw_Click();
  EXPECT_TRUE(test::samePixels(*window.cached, freshPass()));
  const raster::Surface& map = *window.cached;
  const std::int64_t marks = test::countOf(map, kGrey) + test::countOf(map, kMarkerColor);
  EXPECT_EQ(test::countOf(map, options.WaterColor) + marks, kSide * kSide);
  EXPECT_GT(marks, 0);
  EXPECT_LT(marks, 200);
}

}  // namespace
}  // namespace orbelle::render
