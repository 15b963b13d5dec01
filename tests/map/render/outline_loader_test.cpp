// The loader that reads a pass's files up front and projects them in pieces on several threads.

#include "render/outline_loader.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "geometry/projection.hpp"
#include "geometry/rounding.hpp"
#include "test_support.hpp"

namespace orbelle::render {
namespace {

std::vector<OutlineRecord> randomRecords(std::size_t n, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::uniform_int_distribution<int> lat(-5400, 5400), lon(-10800, 10800), code(-3, 1500);
  std::vector<OutlineRecord> records(n);
  for (OutlineRecord& r : records) {
    r = {static_cast<std::int16_t>(code(random)), static_cast<std::int16_t>(lat(random)),
         static_cast<std::int16_t>(lon(random))};
    if (r.code == 0) r.code = 1;
  }
  return records;
}

class OutlineLoaderTest : public ::testing::Test {
 protected:
  OutlineLoaderTest() {
    folder.write("big.pnt", randomRecords(3 * kProjectionPieceRecords + 17, 1));
    folder.write("small.pnt", randomRecords(5, 2));
    std::vector<OutlineRecord> ended = randomRecords(kProjectionPieceRecords + 3, 3);
    ended[kProjectionPieceRecords + 1] = {0, 0, 0};
    folder.write("ended.pnt", ended);
    folder.write("empty.pnt", {});
  }
  std::vector<std::string> paths() const {
    return {folder.mapDataPath("big.pnt"), folder.mapDataPath("missing.pnt"),
            folder.mapDataPath("small.pnt"), folder.mapDataPath("ended.pnt"),
            folder.mapDataPath("empty.pnt")};
  }
  test::ProgramFolder folder;
  OutlineProjector projector{51.5, -0.1};
};

TEST_F(OutlineLoaderTest, ReadsEveryFileAndTellsMissingOnes) {
  OutlineLoader loader(paths(), projector, 2);
  ASSERT_EQ(loader.size(), 5u);
  EXPECT_EQ(loader.file(0).state, LoadedOutline::State::Read);
  EXPECT_EQ(loader.file(0).records.size(), 3 * kProjectionPieceRecords + 17);
  EXPECT_EQ(loader.file(1).state, LoadedOutline::State::Missing);
  EXPECT_EQ(loader.file(1).path, folder.mapDataPath("missing.pnt"));
  EXPECT_EQ(loader.file(2).records.size(), 5u);
  // The end record stops the data, whatever follows it.
  EXPECT_EQ(loader.file(3).records.size(), kProjectionPieceRecords + 1);
  EXPECT_EQ(loader.file(4).state, LoadedOutline::State::Read);
  EXPECT_TRUE(loader.file(4).records.empty());
}

TEST_F(OutlineLoaderTest, EnsureProjectedReturnsTheEndOfThePieceAndItsVertices) {
  OutlineLoader loader(paths(), projector, 3);
  EXPECT_EQ(loader.ensureProjected(0, 0), kProjectionPieceRecords);
  EXPECT_EQ(loader.ensureProjected(0, kProjectionPieceRecords), 2 * kProjectionPieceRecords);
  EXPECT_EQ(loader.ensureProjected(0, 2 * kProjectionPieceRecords + 5),
            3 * kProjectionPieceRecords);
  EXPECT_EQ(loader.ensureProjected(0, 3 * kProjectionPieceRecords + 16),
            3 * kProjectionPieceRecords + 17);
  EXPECT_EQ(loader.ensureProjected(2, 4), 5u);
  const LoadedOutline& big = loader.file(0);
  for (std::size_t i = 2 * kProjectionPieceRecords; i < 3 * kProjectionPieceRecords; i += 101) {
    const geo::MapPoint p =
        geo::ProjectPoint(51.5, -0.1, big.records[i].latDegrees(), big.records[i].lonDegrees());
    EXPECT_EQ(big.vertices[i], (MapVertex{geo::toInt16HalfEven(p.x), geo::toInt16HalfEven(p.y)}));
  }
}

TEST_F(OutlineLoaderTest, TheResultDoesNotDependOnTheThreads) {
  OutlineLoader one(paths(), projector, 1);
  one.projectAll();
  for (unsigned threads : {2u, 4u}) {
    OutlineLoader many(paths(), projector, threads);
    // Drawing-thread order: each piece in turn, as the reader asks for them.
    for (std::size_t f = 0; f < many.size(); ++f) {
      for (std::size_t i = 0; i < many.file(f).records.size();) i = many.ensureProjected(f, i);
      EXPECT_EQ(many.file(f).vertices, one.file(f).vertices) << "file " << f;
    }
  }
}

// A cancelled pass drops its loader with pieces still unprojected: the helpers must stop (the
// test would hang otherwise) and what was asked for must be complete.
TEST_F(OutlineLoaderTest, ALoaderDroppedBeforeItsWorkIsDoneStopsCleanly) {
  OutlineLoader reference(paths(), projector, 1);
  reference.projectAll();
  const std::vector<MapVertex> firstPiece(
      reference.file(0).vertices.begin(),
      reference.file(0).vertices.begin() + kProjectionPieceRecords);
  for (int i = 0; i < 20; ++i) {
    OutlineLoader loader(paths(), projector, 3);
    ASSERT_EQ(loader.ensureProjected(0, 0), kProjectionPieceRecords);
    const std::vector<MapVertex> got(loader.file(0).vertices.begin(),
                                     loader.file(0).vertices.begin() + kProjectionPieceRecords);
    ASSERT_EQ(got, firstPiece);
  }
}

}  // namespace
}  // namespace orbelle::render
