// Rounding of projected vertices to whole miles, and the split of the projection over threads.

#include "render/vertex_projection.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "geometry/projection.hpp"
#include "geometry/rounding.hpp"

namespace orbelle::render {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

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
TEST(VertexProjection, ProjectsEveryRecordRoundedWhateverTheThreads) {
  std::mt19937_64 random(11);
  std::uniform_int_distribution<int> lat(-5400, 5400), lon(-10800, 10800), code(-5, 2000);
  std::vector<OutlineRecord> records(50000);
  for (OutlineRecord& r : records) {
    r = {static_cast<std::int16_t>(code(random)), static_cast<std::int16_t>(lat(random)),
         static_cast<std::int16_t>(lon(random))};
  }
  records[17] = {1, 32767, -32768};
  const OutlineProjector projector(-12.5, 130.25);
  std::vector<MapVertex> one(records.size()), three(records.size());
  projectRecords(records, projector, one, 1);
  projectRecords(records, projector, three, 3);
  EXPECT_EQ(one, three);
  for (std::size_t i = 17; i < records.size(); i += 97) {
    const geo::MapPoint p =
        geo::ProjectPoint(-12.5, 130.25, records[i].latDegrees(), records[i].lonDegrees());
    EXPECT_EQ(one[i], (MapVertex{geo::toInt16HalfEven(p.x), geo::toInt16HalfEven(p.y)})) << i;
  }
  std::vector<MapVertex> none;
  projectRecords({}, projector, none, 2);
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace orbelle::render
