// Reading and projecting the outline files: records, rounding, threads and the loader.

#include "render/outline_loader.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "geometry/projection.hpp"
#include "geometry/rounding.hpp"
#include "render/outline_records.hpp"
#include "render/vertex_projection.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

constexpr std::size_t kPiece = kProjectionPieceRecords;

// code 1001 (0x03E9), latitude −5400 (0xEAE8), longitude 10800 (0x2A30); a trailing piece shorter
// than a record is none (pen codes are the reader's table's subject).
TEST(OutlineRecords, ByteLayoutAndTrailingBytes) {
  std::vector<std::byte> bytes;
  for (int b : {0xE9, 0x03, 0xE8, 0xEA, 0x30, 0x2A}) bytes.push_back(std::byte(b));
  const std::vector<OutlineRecord> one{{1001, -5400, 10800}};
  EXPECT_EQ(encodeOutlineRecords(one), bytes);
  EXPECT_EQ(std::pair(one[0].latDegrees(), one[0].lonDegrees()), std::pair(-90.0, 180.0));
  const std::vector<OutlineRecord> extremes{{-32768, 32767, -32768}, {0, 0, 0}, {1, -1, 1}};
  EXPECT_EQ(parseOutlineRecords(encodeOutlineRecords(extremes)), extremes);
  for (int extra = 0; extra < 6; ++extra) {
    EXPECT_EQ(parseOutlineRecords(bytes), one) << extra << " extra bytes";
    bytes.push_back(std::byte{0x07});
  }
}

// The fast rounding against the geometry's: the edges of 16 bits, NaN and ties (ShippedData
// compares the two on every vertex of the shipped files).
TEST(VertexProjection, RoundMilesIsTiesToEvenLikeTheGeometry) {
  std::vector<double> values{0.49999999999999994,
                             2.5000000000000004,
                             32767.4,
                             32767.5,
                             -32768.5,
                             -40000.0,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()};
  for (double tie = -12000.5; tie < 12000.0; tie += 999.0) values.push_back(tie);
  for (double v : values) ASSERT_EQ(roundMiles(v), geo::toInt16HalfEven(v)) << v;
  EXPECT_EQ(roundMiles(3.5), 4);
  EXPECT_EQ(roundMiles(-2.5), -2);
}

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

// Files of several pieces (one record beyond the globe), missing, small, ended early by an end
// record, empty, a folder: sizes, pieces projected on demand, and the same vertices piece by piece,
// over 1 to 4 threads, split by projectRecords, or from a loader dropped early.
TEST(OutlineLoader, ReadsEveryFileAndProjectsTheSameWhateverTheThreads) {
  test::ProgramFolder folder;
  std::vector<OutlineRecord> big = randomRecords(3 * kPiece + 17, 1),
                             ended = randomRecords(kPiece + 3, 3);
  big[17] = {1, 32767, -32768};
  ended[kPiece + 1] = {0, 0, 0};
  folder.write("big.pnt", big);
  folder.write("small.pnt", randomRecords(5, 2));
  folder.write("ended.pnt", ended);
  folder.write("empty.pnt", {});
  std::vector<std::string> paths;
  for (const char* name : {"big.pnt", "missing.pnt", "small.pnt", "ended.pnt", "empty.pnt", ""})
    paths.push_back(folder.mapDataPath(name));
  const OutlineProjector projector{51.5, -0.1};
  OutlineLoader one(paths, projector, 3);
  ASSERT_EQ(one.size(), 6u);
  const std::size_t sizes[] = {3 * kPiece + 17, 0, 5, kPiece + 1, 0, 0};
  for (std::size_t f = 0; f < 6; ++f) {
    EXPECT_EQ(one.file(f).state,
              f == 1 || f == 5 ? LoadedOutline::State::Missing : LoadedOutline::State::Read);
    EXPECT_EQ(one.file(f).path, paths[f]);
    EXPECT_EQ(one.file(f).records.size(), sizes[f]) << f;
  }
  const std::pair<std::size_t, std::size_t> pieceEnds[] = {{0, kPiece},
                                                           {kPiece, 2 * kPiece},
                                                           {2 * kPiece + 5, 3 * kPiece},
                                                           {3 * kPiece + 16, 3 * kPiece + 17}};
  for (auto [record, end] : pieceEnds) EXPECT_EQ(one.ensureProjected(0, record), end) << record;
  EXPECT_EQ(one.ensureProjected(2, 4), 5u);
  one.projectAll();
  std::vector<MapVertex> direct(big.size()), none;
  projectRecords(one.file(0).records, projector, direct, 3);
  EXPECT_EQ(one.file(0).vertices, direct);
  const geo::MapPoint odd = geo::ProjectPoint(51.5, -0.1, 32767 / 60.0, -32768 / 60.0);
  EXPECT_EQ(direct[17], (MapVertex{geo::toInt16HalfEven(odd.x), geo::toInt16HalfEven(odd.y)}));
  projectRecords({}, projector, none, 2);
  EXPECT_TRUE(none.empty());
  for (unsigned threads : {1u, 4u}) {
    OutlineLoader many(paths, projector, threads);
    for (std::size_t f = 0; f < many.size(); ++f) {
      for (std::size_t i = 0; i < many.file(f).records.size();) i = many.ensureProjected(f, i);
      EXPECT_EQ(many.file(f).vertices, one.file(f).vertices) << "file " << f;
    }
  }
  for (int i = 0; i < 20; ++i) {  // dropped after its first piece: the helpers must stop
    OutlineLoader loader(paths, projector, 3);
    ASSERT_EQ(loader.ensureProjected(0, 0), kPiece);
    ASSERT_TRUE(
        std::equal(direct.begin(), direct.begin() + kPiece, loader.file(0).vertices.begin()));
  }
}

}  // namespace
}  // namespace orbelle::render
