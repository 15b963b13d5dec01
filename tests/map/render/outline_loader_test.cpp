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

constexpr std::size_t kPiece = kProjectionPieceRecords;

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

// Files of several pieces, one missing, a small one, one ended early by an end record, an empty
// one.
class OutlineLoaderTest : public ::testing::Test {
 protected:
  OutlineLoaderTest() {
    folder.write("big.pnt", randomRecords(3 * kPiece + 17, 1));
    folder.write("small.pnt", randomRecords(5, 2));
    std::vector<OutlineRecord> ended = randomRecords(kPiece + 3, 3);
    ended[kPiece + 1] = {0, 0, 0};
    folder.write("ended.pnt", ended);
    folder.write("empty.pnt", {});
    for (const char* name : {"big.pnt", "missing.pnt", "small.pnt", "ended.pnt", "empty.pnt"})
      paths.push_back(folder.mapDataPath(name));
  }
  test::ProgramFolder folder;
  std::vector<std::string> paths;
  OutlineProjector projector{51.5, -0.1};
};

TEST_F(OutlineLoaderTest, ReadsEveryFileAndProjectsPiecesOnDemand) {
  OutlineLoader loader(paths, projector, 3);
  ASSERT_EQ(loader.size(), 5u);
  const std::size_t sizes[] = {3 * kPiece + 17, 0, 5, kPiece + 1, 0};
  for (std::size_t f = 0; f < 5; ++f) {
    EXPECT_EQ(loader.file(f).state,
              f == 1 ? LoadedOutline::State::Missing : LoadedOutline::State::Read);
    EXPECT_EQ(loader.file(f).path, paths[f]);
    EXPECT_EQ(loader.file(f).records.size(), sizes[f]) << f;
  }
  // ensureProjected gives the end of the piece that holds the record.
  EXPECT_EQ(loader.ensureProjected(0, 0), kPiece);
  EXPECT_EQ(loader.ensureProjected(0, kPiece), 2 * kPiece);
  EXPECT_EQ(loader.ensureProjected(0, 2 * kPiece + 5), 3 * kPiece);
  EXPECT_EQ(loader.ensureProjected(0, 3 * kPiece + 16), 3 * kPiece + 17);
  EXPECT_EQ(loader.ensureProjected(2, 4), 5u);
  const LoadedOutline& big = loader.file(0);
  for (std::size_t i = 2 * kPiece; i < 3 * kPiece; i += 101) {
    const geo::MapPoint p =
        geo::ProjectPoint(51.5, -0.1, big.records[i].latDegrees(), big.records[i].lonDegrees());
    EXPECT_EQ(big.vertices[i], (MapVertex{geo::toInt16HalfEven(p.x), geo::toInt16HalfEven(p.y)}));
  }
}

// Asked piece by piece as the reader does, or dropped after its first piece (a cancelled pass:
// the helpers must stop, or the test hangs), the loader gives what one thread gives.
TEST_F(OutlineLoaderTest, TheResultDoesNotDependOnTheThreadsOrOnDroppingTheLoader) {
  OutlineLoader one(paths, projector, 1);
  one.projectAll();
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
