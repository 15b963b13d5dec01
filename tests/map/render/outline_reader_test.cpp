// DrawOutlineFile on hand-made files: every pen-code case, the end of the data, the current point
// across files, the missing-file message, cancelling, and segments stretched across the
// station's antipode. Expected maps are drawn independently: the literal projection, rounded to
// whole miles, and the surface's own lines.

#include "render/outline_reader.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plane/map_plane.hpp"
#include "geometry/projection.hpp"
#include "geometry/rounding.hpp"
#include "raster/color.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

using test::endOfData;
using test::ignored;
using test::lineTo;
using test::start;

constexpr raster::Rgb kPen = raster::rgb(10, 20, 30);

struct Minutes {
  int lat = 0;
  int lon = 0;
};

class OutlineReaderTest : public ::testing::Test {
 protected:
  // A surface of side pixels showing ±maxDx miles around the station.
  void setUpMap(double latHere, double lonHere, std::int16_t maxDx, int side) {
    plane.LatHere = latHere;
    plane.LonHere = lonHere;
    plane.MaxDx = maxDx;
    window = std::make_unique<test::RecordingWindow>(side);
    geo::SetMapScale(plane, window->mapLayer);
    window->mapLayer.setColor(kPen);
    projector = std::make_unique<OutlineProjector>(latHere, lonHere);
    expected = window->mapLayer;
  }

  OutlineFigures draw(const std::string& name) {
    OutlineTarget target{window->mapLayer, *projector, *window, cancel, 2};
    return reader.DrawOutlineFile(name, target);
  }

  // The vertex in whole miles as the literal projection puts it.
  geo::MapPoint mapOf(Minutes m) const {
    const geo::MapPoint p =
        geo::ProjectPoint(plane.LatHere, plane.LonHere, m.lat / 60.0, m.lon / 60.0);
    return {static_cast<double>(geo::toInt16HalfEven(p.x)),
            static_cast<double>(geo::toInt16HalfEven(p.y))};
  }
  // Draws the expected map's polyline through the vertices.
  void expectPolyline(std::vector<Minutes> vertices) {
    expected.setColor(kPen);
    const geo::MapPoint first = mapOf(vertices.front());
    expected.moveTo(first.x, first.y);
    for (std::size_t i = 1; i < vertices.size(); ++i) {
      const geo::MapPoint p = mapOf(vertices[i]);
      expected.lineTo(p.x, p.y);
    }
  }
  void expectDot(Minutes m) {
    const geo::MapPoint p = mapOf(m);
    expected.dot(p.x, p.y, kPen);
  }
  void expectSameMap() const {
    const raster::Surface& actual = window->mapLayer;
    ASSERT_EQ(actual.width(), expected.width());
    std::int64_t differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
      for (int x = 0; x < actual.width(); ++x)
        differing += actual.pixel(x, y) != expected.pixel(x, y);
    }
    EXPECT_EQ(differing, 0) << "pixels differ from the expected map";
  }

  test::ProgramFolder folder;
  OutlineReader reader{folder.string()};
  geo::MapPlane plane;
  std::unique_ptr<test::RecordingWindow> window;
  std::unique_ptr<OutlineProjector> projector;
  raster::Surface expected{1, 1};
  bool cancel = false;
};

TEST_F(OutlineReaderTest, PathIsTheProgramFolderThenMapdata) {
  EXPECT_EQ(reader.pathOf("coast.velapnt"), folder.string() + "/mapdata/coast.velapnt");
}

TEST_F(OutlineReaderTest, LinesAreDrawnBetweenProjectedVerticesUntilTheFileEnds) {
  setUpMap(10.0, 20.0, 200, 200);
  // No end record: the data ends with the file.
  folder.write("a.pnt", {start(600, 1200), lineTo(630, 1230), lineTo(660, 1190, 1000),
                         lineTo(580, 1150, 17)});
  const OutlineFigures f = draw("a.pnt");
  expectPolyline({{600, 1200}, {630, 1230}, {660, 1190}, {580, 1150}});
  expectSameMap();
  EXPECT_TRUE(f.found);
  EXPECT_EQ(f.records, 4u);
  EXPECT_EQ(f.lines, 3u);
  EXPECT_EQ(f.polylines, 1u);
  EXPECT_EQ(window->yields, 1);
  EXPECT_GT(test::countOf(window->mapLayer, kPen), 60);
}

TEST_F(OutlineReaderTest, RecordsAfterTheEndRecordAreNotRead) {
  setUpMap(10.0, 20.0, 200, 200);
  folder.write("a.pnt", {start(600, 1200), lineTo(630, 1230), endOfData(), lineTo(660, 1190),
                         start(580, 1150), lineTo(600, 1150)});
  const OutlineFigures f = draw("a.pnt");
  expectPolyline({{600, 1200}, {630, 1230}});
  expectSameMap();
  EXPECT_EQ(f.records, 2u);
  EXPECT_EQ(window->yields, 1);
}

TEST_F(OutlineReaderTest, ALoneStartVertexIsPlottedOnlyWhenAnotherStartFollows) {
  setUpMap(10.0, 20.0, 200, 200);
  // Two starts in a row: the first is a dot. A start before the end of data, or before a
  // negative record, is not plotted.
  folder.write("a.pnt",
               {start(600, 1200), start(640, 1240), ignored(-3), start(560, 1160), endOfData()});
  const OutlineFigures f = draw("a.pnt");
  expectDot({600, 1200});
  expectSameMap();
  EXPECT_EQ(f.dots, 1u);
  EXPECT_EQ(test::countOf(window->mapLayer, kPen), 1);
  EXPECT_EQ(window->yields, 3);

  window->mapLayer.clear(raster::kWhite);
  folder.write("b.pnt", {start(600, 1200), endOfData()});
  draw("b.pnt");
  EXPECT_EQ(test::countOf(window->mapLayer, kPen), 0);

  folder.write("c.pnt", {start(600, 1200)});
  draw("c.pnt");
  EXPECT_EQ(test::countOf(window->mapLayer, kPen), 0);
}

TEST_F(OutlineReaderTest, NegativeRecordsAreSkippedWithoutBreakingTheLine) {
  setUpMap(10.0, 20.0, 200, 200);
  // A negative record between two line records: the line goes on from the last drawn vertex.
  folder.write("a.pnt", {start(600, 1200), lineTo(630, 1230), ignored(-1), ignored(-32768),
                         lineTo(660, 1190), endOfData()});
  draw("a.pnt");
  expectPolyline({{600, 1200}, {630, 1230}, {660, 1190}});
  expectSameMap();
}

TEST_F(OutlineReaderTest, CodeBoundariesSplitLinesFromStarts) {
  setUpMap(10.0, 20.0, 200, 200);
  folder.write("a.pnt", {start(600, 1200), lineTo(630, 1230, 1000), start(660, 1190, 1001),
                         lineTo(580, 1150, 1), endOfData()});
  const OutlineFigures f = draw("a.pnt");
  expectPolyline({{600, 1200}, {630, 1230}});
  expectPolyline({{660, 1190}, {580, 1150}});
  expectSameMap();
  EXPECT_EQ(f.polylines, 2u);
}

TEST_F(OutlineReaderTest, TheCurrentPointCarriesOverToTheNextFile) {
  setUpMap(10.0, 20.0, 200, 200);
  folder.write("a.pnt", {start(600, 1200), lineTo(630, 1230), endOfData()});
  folder.write("b.pnt", {lineTo(660, 1190), lineTo(580, 1150), endOfData()});
  draw("a.pnt");
  draw("b.pnt");
  expectPolyline({{600, 1200}, {630, 1230}, {660, 1190}, {580, 1150}});
  expectSameMap();
}

TEST_F(OutlineReaderTest, NorthPoleAndTheDateLineComeFromExtremeMinutes) {
  setUpMap(0.0, 0.0, 7000, 700);
  // 5400' N is the pole, −10800' is 180° W: the pole lies due north, 6216.48 miles away.
  folder.write("a.pnt", {start(0, 60), lineTo(5400, -10800), endOfData()});
  draw("a.pnt");
  expectPolyline({{0, 60}, {5400, -10800}});
  expectSameMap();
  const geo::MapPoint pole = mapOf({5400, -10800});
  EXPECT_EQ(pole.x, 0.0);
  EXPECT_EQ(pole.y, 6216.0);
  EXPECT_EQ(window->mapLayer.point(0.0, 6216.0), kPen);
}

TEST_F(OutlineReaderTest, AMissingFileIsReportedAndSkipped) {
  setUpMap(10.0, 20.0, 200, 200);
  const OutlineFigures f = draw("lake.pnt");
  EXPECT_FALSE(f.found);
  ASSERT_EQ(window->messages.size(), 1u);
  EXPECT_EQ(window->messages[0], "File " + folder.string() + "/mapdata/lake.pnt does not exist");
  EXPECT_EQ(test::countOf(window->mapLayer, kPen), 0);
  EXPECT_EQ(window->yields, 0);
}

TEST_F(OutlineReaderTest, CancelStopsAtTheNextStartRecordOfEveryFile) {
  setUpMap(10.0, 20.0, 200, 200);
  folder.write("a.pnt", {start(600, 1200), lineTo(630, 1230), start(660, 1190), lineTo(580, 1150),
                         endOfData()});
  folder.write("b.pnt", {lineTo(560, 1100), start(600, 1100), lineTo(620, 1120), endOfData()});
  window->onYield = [this](int n) {
    if (n == 2) cancel = true;
  };
  const OutlineFigures a = draw("a.pnt");
  EXPECT_TRUE(a.cancelled);
  EXPECT_EQ(a.polylines, 2u);
  // The second file is still read: its lines before the first start record are drawn.
  const OutlineFigures b = draw("b.pnt");
  EXPECT_TRUE(b.cancelled);
  EXPECT_EQ(window->yields, 3);
  expectPolyline({{600, 1200}, {630, 1230}});
  expectPolyline({{660, 1190}, {560, 1100}});
  expectSameMap();
}

TEST_F(OutlineReaderTest, ASegmentAcrossTheAntipodeIsNotDrawnButThePenMoves) {
  // Station on the equator at 0°: its antipode is (0, 180).
  setUpMap(0.0, 0.0, 12437, 600);
  // 179°50' E to 179°50' W crosses the antipode: on the map it would span the whole width.
  folder.write("a.pnt", {start(0, 10790), lineTo(0, -10790), lineTo(0, -10500), endOfData()});
  const OutlineFigures f = draw("a.pnt");
  EXPECT_EQ(f.stretchedLines, 1u);
  EXPECT_EQ(f.lines, 1u);
  // Only the last line (along the equator, as long on the map as on the globe) is drawn, from
  // where the pen moved.
  expectPolyline({{0, -10790}, {0, -10500}});
  expectSameMap();
  EXPECT_EQ(window->mapLayer.point(0.0, 0.0), raster::kWhite);
}

TEST_F(OutlineReaderTest, SegmentsNearButNotAcrossTheAntipodeAreDrawn) {
  setUpMap(0.0, 0.0, 12437, 600);
  // 1.5° north of the antipode, 0.2° of longitude apart: stretched around the rim, but far less
  // than across the map.
  folder.write("a.pnt", {start(90, 10794), lineTo(90, -10794), endOfData()});
  // Segments of the data's length (at most about 0.1°) 10° from the antipode.
  folder.write("b.pnt", {start(0, 10200), lineTo(0, 10206), lineTo(6, 10206), lineTo(12, 10200),
                         endOfData()});
  const OutlineFigures a = draw("a.pnt");
  const OutlineFigures b = draw("b.pnt");
  EXPECT_EQ(a.stretchedLines + b.stretchedLines, 0u);
  expectPolyline({{90, 10794}, {90, -10794}});
  expectPolyline({{0, 10200}, {0, 10206}, {6, 10206}, {12, 10200}});
  expectSameMap();
}

TEST_F(OutlineReaderTest, ALineFromAPenPositionTheReaderKnowsFollowsTheStretchRule) {
  setUpMap(0.0, 0.0, 12437, 600);
  const geo::MapPoint east = mapOf({0, 10790});
  folder.write("a.pnt", {lineTo(0, -10790), endOfData()});

  // The pass tells the reader where on the globe the current point is: the line is checked.
  window->mapLayer.moveTo(east.x, east.y);
  reader.setPenPosition(east.x, east.y, 0.0, 10790 / 60.0);
  EXPECT_EQ(draw("a.pnt").stretchedLines, 1u);
  expectSameMap();

  // Moved by something else since: the reader cannot know, and draws the line as it is.
  window->mapLayer.moveTo(east.x, east.y - 1.0);
  const OutlineFigures f = draw("a.pnt");
  EXPECT_EQ(f.stretchedLines, 0u);
  EXPECT_EQ(f.lines, 1u);
  EXPECT_EQ(window->mapLayer.point(0.0, -1.0), kPen);
}

}  // namespace
}  // namespace orbelle::render
