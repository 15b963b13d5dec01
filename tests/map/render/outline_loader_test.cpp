// Reading and projecting the outline files: records, rounding, threads and the loader.

#include "render/outline_loader.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "geometry/projection.hpp"
#include "geometry/rounding.hpp"
#include "render/arc_tangent.hpp"
#include "render/outline_records.hpp"
#include "render/vertex_projection.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

constexpr std::size_t kPiece = kProjectionPieceRecords;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The projector's arc against std::atan2 in every octant, on the octant borders and for arcs
// near 0 and π: within 4 units in the last place (the projection's 1e-6-mile budget is 10^6
// times wider; the bound guards the reduction and the table).
TEST(VertexProjection, ArcOfMatchesAtan2ToAFewUlp) {
  const auto& table = arcTangentTable();
  std::vector<std::pair<double, double>> cases = {
      {1.0, 1.0}, {1.0, -1.0}, {1.0, 0.0}, {1e-300, 1.0}, {1e-300, -1.0}, {1.0, 1e-300},
      {0.5, 0.5 * (1.0 + 0x1p-52)}, {1.0 / 64.0, 1.0}, {1.0 / 128.0, 1.0}, {3.0, -1e-17}};
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> angle(0.0, 3.141592653589793), size(1e-3, 1e3);
  for (int i = 0; i < 100000; ++i) {
    const double a = angle(random), r = size(random);
    if (std::sin(a) > 0.0) cases.emplace_back(r * std::sin(a), r * std::cos(a));
  }
  for (auto [across, up] : cases) {
    const double want = std::atan2(across, up);
    const double ulp = std::nextafter(want, 4.0) - want;
    ASSERT_LE(std::fabs(arcOf(table, across, up) - want), 4 * ulp) << across << ", " << up;
  }
}

TEST(OutlineRecords, ByteLayoutPenCodesAndTheEndOfTheData) {
  // code 1001 (0x03E9), latitude −5400 (0xEAE8), longitude 10800 (0x2A30).
  std::vector<std::byte> bytes;
  for (int b : {0xE9, 0x03, 0xE8, 0xEA, 0x30, 0x2A}) bytes.push_back(std::byte(b));
  const std::vector<OutlineRecord> one{{1001, -5400, 10800}};
  EXPECT_EQ(parseOutlineRecords(bytes), one);
  EXPECT_EQ(encodeOutlineRecords(one), bytes);
  EXPECT_DOUBLE_EQ(one[0].latDegrees(), -90.0);
  EXPECT_DOUBLE_EQ(one[0].lonDegrees(), 180.0);
  const std::vector<OutlineRecord> extremes{{-32768, 32767, -32768}, {0, 0, 0}, {1, -1, 1}};
  EXPECT_EQ(parseOutlineRecords(encodeOutlineRecords(extremes)), extremes);
  for (int extra = 1; extra < 6; ++extra) {  // a trailing piece shorter than a record is none
    bytes.push_back(std::byte{0x07});
    EXPECT_EQ(parseOutlineRecords(bytes), one) << extra << " extra bytes";
  }
  const std::pair<std::int16_t, PenAction> classes[] = {
      {0, PenAction::End},        {1, PenAction::Line},      {1000, PenAction::Line},
      {1001, PenAction::Start},   {32767, PenAction::Start}, {-1, PenAction::Ignore},
      {-32768, PenAction::Ignore}};
  for (auto [code, action] : classes) EXPECT_EQ(penAction(code), action) << code;
  EXPECT_EQ(recordsBeforeEnd(std::vector<OutlineRecord>{{1001, 0, 0}, {-5, 1, 1}}), 2u);
  EXPECT_EQ(recordsBeforeEnd(std::vector<OutlineRecord>{{0, 0, 0}, {1001, 1, 1}}), 0u);
}

// The fast rounding against the geometry's: ties, the edges of 16 bits, NaN, over random values.
TEST(VertexProjection, RoundMilesIsTiesToEvenLikeTheGeometry) {
  auto expectSame = [](auto... values) {
    for (double v : {values...}) EXPECT_EQ(roundMiles(v), geo::toInt16HalfEven(v)) << v;
  };
  expectSame(0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 12432.5, -12431.5, 0.49999999999999994,
             -0.49999999999999994, 2.5000000000000004, 1e-300, -0.0, 32767.4, 32767.5, -32768.5,
             40000.0, -40000.0, kNan, kInf);
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> miles(-13000.0, 13000.0);
  for (int i = 0; i < 200000; ++i) {
    const double v = i % 4 == 0 ? std::round(miles(random)) + 0.5 : miles(random);
    ASSERT_EQ(roundMiles(v), geo::toInt16HalfEven(v)) << v;
  }
  EXPECT_EQ(roundMiles(3.5), 4);
  EXPECT_EQ(roundMiles(-2.5), -2);
}

// Enough records for the threaded split; minutes beyond the globe (a malformed file) project too.
std::vector<OutlineRecord> randomRecords(std::size_t n, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::uniform_int_distribution<int> lat(-5400, 5400), lon(-10800, 10800), code(1, 1500);
  std::vector<OutlineRecord> records(n);
  for (OutlineRecord& r : records) {
    r = {static_cast<std::int16_t>(code(random)), static_cast<std::int16_t>(lat(random)),
         static_cast<std::int16_t>(lon(random))};
  }
  return records;
}

// Files of several pieces, missing, small, ended early by an end record, empty, a folder.
class OutlineLoaderTest : public ::testing::Test {
 protected:
  OutlineLoaderTest() {
    std::vector<OutlineRecord> big = randomRecords(3 * kPiece + 17, 1);
    big[17] = {1, 32767, -32768};  // minutes beyond the globe (a malformed file) project too
    folder.write("big.pnt", big);
    folder.write("small.pnt", randomRecords(5, 2));
    std::vector<OutlineRecord> ended = randomRecords(kPiece + 3, 3);
    ended[kPiece + 1] = {0, 0, 0};
    folder.write("ended.pnt", ended);
    folder.write("empty.pnt", {});
    for (const char* name : {"big.pnt", "missing.pnt", "small.pnt", "ended.pnt", "empty.pnt"})
      paths.push_back(folder.mapDataPath(name));
    paths.push_back((folder.path() / "mapdata").string());  // a folder is not a file
  }
  test::ProgramFolder folder;
  std::vector<std::string> paths;
  OutlineProjector projector{51.5, -0.1};
};

TEST_F(OutlineLoaderTest, ReadsEveryFileAndProjectsPiecesOnDemand) {
  OutlineLoader loader(paths, projector, 3);
  ASSERT_EQ(loader.size(), 6u);
  const std::size_t sizes[] = {3 * kPiece + 17, 0, 5, kPiece + 1, 0, 0};
  for (std::size_t f = 0; f < 6; ++f) {
    EXPECT_EQ(loader.file(f).state,
              f == 1 || f == 5 ? LoadedOutline::State::Missing : LoadedOutline::State::Read);
    EXPECT_EQ(loader.file(f).path, paths[f]);
    EXPECT_EQ(loader.file(f).records.size(), sizes[f]) << f;
  }
  // ensureProjected gives the end of the piece that holds the record.
  EXPECT_EQ(loader.ensureProjected(0, 0), kPiece);
  EXPECT_EQ(loader.ensureProjected(0, kPiece), 2 * kPiece);
  EXPECT_EQ(loader.ensureProjected(0, 2 * kPiece + 5), 3 * kPiece);
  EXPECT_EQ(loader.ensureProjected(0, 3 * kPiece + 16), 3 * kPiece + 17);
  EXPECT_EQ(loader.ensureProjected(2, 4), 5u);
}

// Piece by piece, dropped early (the helpers must stop) or split over threads: the same vertices.
TEST_F(OutlineLoaderTest, TheResultDoesNotDependOnTheThreadsOrOnDroppingTheLoader) {
  OutlineLoader one(paths, projector, 1);
  one.projectAll();
  std::vector<MapVertex> direct(one.file(0).records.size()), none;
  projectRecords(one.file(0).records, projector, direct, 3);  // enough records to split
  EXPECT_EQ(one.file(0).vertices, direct);
  const geo::MapPoint odd = geo::ProjectPoint(51.5, -0.1, 32767 / 60.0, -32768 / 60.0);
  EXPECT_EQ(direct[17], (MapVertex{geo::toInt16HalfEven(odd.x), geo::toInt16HalfEven(odd.y)}));
  projectRecords({}, projector, none, 2);
  EXPECT_TRUE(none.empty());
  for (unsigned threads : {2u, 4u}) {
    OutlineLoader many(paths, projector, threads);
    for (std::size_t f = 0; f < many.size(); ++f) {
      for (std::size_t i = 0; i < many.file(f).records.size();) i = many.ensureProjected(f, i);
      EXPECT_EQ(many.file(f).vertices, one.file(f).vertices) << "file " << f;
    }
  }
  const std::vector<MapVertex> firstPiece(one.file(0).vertices.begin(),
                                          one.file(0).vertices.begin() + kPiece);
  for (int i = 0; i < 20; ++i) {
    OutlineLoader loader(paths, projector, 3);
    ASSERT_EQ(loader.ensureProjected(0, 0), kPiece);
    ASSERT_EQ(std::vector<MapVertex>(loader.file(0).vertices.begin(),
                                     loader.file(0).vertices.begin() + kPiece),
              firstPiece);
  }
}

}  // namespace
}  // namespace orbelle::render
