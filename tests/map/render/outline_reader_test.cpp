// DrawOutlineFile against maps drawn independently; the rule leaving stretched segments undrawn.

#include "render/outline_reader.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "geometry/projection.hpp"
#include "geometry/rounding.hpp"
#include "plane/map_plane.hpp"
#include "render/stretched_segment.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

using test::endOfData;
using test::lineTo;
using test::start;

constexpr raster::Rgb kPen = raster::rgb(10, 20, 30);
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

struct Minutes {
  int lat = 0, lon = 0;
};
struct MapView {
  double lat, lon;
  std::int16_t maxDx;
  int side;
};
constexpr MapView kNear{10.0, 20.0, 200, 200};   // a mile per pixel
constexpr MapView kWhole{0.0, 0.0, 12437, 600};  // the antipode (0, 180) on the rim
// Records, polylines (= yields), lines, stretched lines, dots.
using Counts = std::tuple<std::size_t, std::size_t, std::size_t, std::size_t, std::size_t>;

class OutlineReaderTest : public ::testing::Test {
 protected:
  void setUpMap(MapView view) {
    plane.LatHere = view.lat;
    plane.LonHere = view.lon;
    plane.MaxDx = view.maxDx;
    window = std::make_unique<test::RecordingWindow>(view.side);
    geo::SetMapScale(plane, window->mapLayer);
    window->mapLayer.setColor(kPen);
    projector = std::make_unique<OutlineProjector>(view.lat, view.lon);
    expected = window->mapLayer;
  }
  OutlineFigures draw(const std::string& name) {
    OutlineTarget target{window->mapLayer, *projector, *window, cancel, 2};
    return reader.DrawOutlineFile(name, target);
  }
  // The vertex as the map has it: projected by the literal formula, rounded to whole miles.
  geo::MapPoint mapOf(Minutes m) const {
    const geo::MapPoint p =
        geo::ProjectPoint(plane.LatHere, plane.LonHere, m.lat / 60.0, m.lon / 60.0);
    return {static_cast<double>(geo::toInt16HalfEven(p.x)),
            static_cast<double>(geo::toInt16HalfEven(p.y))};
  }
  void expectPolyline(const std::vector<Minutes>& vertices) {
    expected.moveTo(mapOf(vertices.front()).x, mapOf(vertices.front()).y);
    for (std::size_t i = 1; i < vertices.size(); ++i)
      expected.lineTo(mapOf(vertices[i]).x, mapOf(vertices[i]).y);
  }
  bool sameMap() const { return test::samePixels(window->mapLayer, expected); }
  // Draws the files in turn (the current point carries over); the map must equal the polylines and
  // dots drawn directly, the figures summed over the files the counts.
  void check(const char* name, MapView view, const std::vector<std::vector<OutlineRecord>>& files,
             const std::vector<std::vector<Minutes>>& polylines, const std::vector<Minutes>& dots,
             Counts counts) {
    SCOPED_TRACE(name);
    setUpMap(view);
    for (const auto& polyline : polylines) expectPolyline(polyline);
    for (Minutes m : dots) expected.dot(mapOf(m).x, mapOf(m).y, kPen);
    Counts sum{};
    for (std::size_t f = 0; f < files.size(); ++f) {
      folder.write(std::to_string(f) + ".pnt", files[f]);
      const OutlineFigures one = draw(std::to_string(f) + ".pnt");
      EXPECT_TRUE(one.found);
      sum = {std::get<0>(sum) + one.records, std::get<1>(sum) + one.polylines,
             std::get<2>(sum) + one.lines, std::get<3>(sum) + one.stretchedLines,
             std::get<4>(sum) + one.dots};
    }
    EXPECT_TRUE(sameMap());
    EXPECT_GT(test::countOf(window->mapLayer, kPen), 0);
    EXPECT_EQ(sum, counts);
    EXPECT_EQ(window->yields, static_cast<int>(std::get<1>(counts)));
  }

  test::ProgramFolder folder;
  OutlineReader reader{folder.string()};
  geo::MapPlane plane;
  std::unique_ptr<test::RecordingWindow> window;
  std::unique_ptr<OutlineProjector> projector;
  raster::Surface expected{1, 1};
  bool cancel = false;
};

TEST_F(OutlineReaderTest, EveryPenCodeCaseDrawsTheExpectedMap) {
  check("no end record: the data ends with the file; codes up to 1000 draw", kNear,
        {{start(600, 1200), lineTo(630, 1230), lineTo(660, 1190, 1000), lineTo(580, 1150, 17)}},
        {{{600, 1200}, {630, 1230}, {660, 1190}, {580, 1150}}}, {}, {4, 1, 3, 0, 0});
  check("a lone start is a dot only when another start follows", kNear,
        {{start(600, 1200), start(640, 1240), lineTo(0, 0, -3), start(560, 1160), endOfData()},
         {start(600, 1200), endOfData()},
         {start(600, 1200)}},
        {}, {{600, 1200}}, {6, 5, 0, 0, 1});
  check("negative records do not break the line", kNear,
        {{start(600, 1200), lineTo(630, 1230), lineTo(0, 0, -1), lineTo(0, 0, -32768),
          lineTo(660, 1190), endOfData()}},
        {{{600, 1200}, {630, 1230}, {660, 1190}}}, {}, {5, 1, 2, 0, 0});
  check(
      "1000 draws, 1001 starts; the current point carries over to the next "
      "file",
      kNear,
      {{start(600, 1200), lineTo(630, 1230, 1000), start(660, 1190, 1001), endOfData()},
       {lineTo(580, 1150, 1), lineTo(560, 1100), endOfData()}},
      {{{600, 1200}, {630, 1230}}, {{660, 1190}, {580, 1150}, {560, 1100}}}, {}, {5, 2, 3, 0, 0});
  check("a segment across the antipode is not drawn but the pen moves", kWhole,
        {{start(0, 10790), lineTo(0, -10790), lineTo(0, -10500), endOfData()}},
        {{{0, -10790}, {0, -10500}}}, {}, {3, 1, 1, 1, 0});
  check("segments near, not across, the antipode are drawn", kWhole,
        {{start(90, 10794), lineTo(90, -10794), endOfData()},
         {start(0, 10200), lineTo(0, 10206), lineTo(6, 10206), lineTo(12, 10200), endOfData()}},
        {{{90, 10794}, {90, -10794}}, {{0, 10200}, {0, 10206}, {6, 10206}, {12, 10200}}}, {},
        {6, 2, 4, 0, 0});
}

// River rules: a polyline marked with too short a chain is passed over (no line, no dot); a vertex
// nearer than the step to the last point drawn is skipped unless it ends its polyline.
TEST_F(OutlineReaderTest, ShortRiverChainsAndSubStepVerticesAreNotDrawn) {
  setUpMap(kNear);
  folder.write("r.pnt", {start(600, 1200, kFirstChainCode + 10), lineTo(630, 1230),
                         start(600, 1150, kFirstChainCode + 50), lineTo(630, 1180),
                         lineTo(632, 1181), lineTo(660, 1150), lineTo(661, 1151), start(560, 1160),
                         lineTo(580, 1180), start(540, 1140, kFirstChainCode + 10), endOfData()});
  OutlineTarget target{window->mapLayer, *projector, *window, cancel, 2};
  target.minChainKm = 200.0;  // chains of 100 km go, 500 km and unmarked ones stay
  target.minStepMiles = 5.0;  // (632', 1181') is about 2.5 miles from (630', 1180')
  const OutlineFigures f = reader.DrawOutlineFile("r.pnt", target);
  expectPolyline({{600, 1150}, {630, 1180}, {660, 1150}, {661, 1151}});
  expectPolyline({{560, 1160}, {580, 1180}});
  EXPECT_TRUE(sameMap());
  EXPECT_EQ(std::tuple(f.polylines, f.shortChains, f.lines, f.dots), std::tuple(4u, 2u, 4u, 0u));
}

// The excess over the true length decides at its bounds; segments through or beside the antipode
// (0, 180) of a station at (0, 0) are stretched, a radial one however near is not.
TEST(StretchedSegment, ExcessOverTheTrueLengthDecides) {
  const std::tuple<double, double, bool> excess[] = {
      {2000.0, 0.0, false}, {2000.5, 0.0, true}, {9000.0, 7000.0, false}, {9000.1, 7000.0, true},
      {5.0, 7.0, false},    {kNan, 1.0, false},  {1e9, kNan, false}};
  for (auto [map, truth, stretched] : excess)
    EXPECT_EQ(isStretchedSegment(map, truth), stretched) << map << ", " << truth;
  EXPECT_FALSE(mayBeStretched({0.0, 0.0}, {1200.0, 1600.0}));  // exactly 2000 miles
  EXPECT_TRUE(mayBeStretched({0.0, 0.0}, {1200.0, 1600.1}));
  EXPECT_NEAR(trueSegmentMiles(0.0, 0.0, 0.0, 90.0), 6216.48, 1e-9);
  const std::tuple<double, double, double, double, bool> segments[] = {
      {0.0, 179.9, 0.0, -179.9, true},      // along the equator through the antipode
      {0.07, 179.95, 0.07, -179.95, true},  // 5 miles off it: the ends lie 110° apart on the map
      {0.0, 179.0, 0.0, 179.9, false}};     // radial
  const geo::StationProjector projector(0.0, 0.0);
  for (auto [lat1, lon1, lat2, lon2, stretched] : segments) {
    EXPECT_EQ(isStretchedSegment(projector.project(lat1, lon1), projector.project(lat2, lon2), lat1,
                                 lon1, lat2, lon2),
              stretched)
        << lat1 << ", " << lon1 << " to " << lat2 << ", " << lon2;
  }
}

}  // namespace
}  // namespace orbelle::render
