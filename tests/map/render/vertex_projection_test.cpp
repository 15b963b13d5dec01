// The projector's arctangent, rounding of projected vertices to whole miles, and the split of the
// projection over threads.

#include "render/vertex_projection.hpp"

#include <gtest/gtest.h>

#include "render/arc_tangent.hpp"

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "geometry/projection.hpp"
#include "geometry/rounding.hpp"

namespace orbelle::render {
namespace {

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

TEST(VertexProjection, RoundMilesIsTiesToEvenLikeTheGeometry) {
  for (double v : {0.5,
                   1.5,
                   2.5,
                   -0.5,
                   -1.5,
                   -2.5,
                   12432.5,
                   -12431.5,
                   0.49999999999999994,
                   -0.49999999999999994,
                   2.5000000000000004,
                   1e-300,
                   -0.0,
                   32767.4,
                   32767.5,
                   -32768.5,
                   40000.0,
                   -40000.0,
                   std::numeric_limits<double>::quiet_NaN(),
                   std::numeric_limits<double>::infinity()}) {
    EXPECT_EQ(roundMiles(v), geo::toInt16HalfEven(v)) << v;
  }
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> miles(-13000.0, 13000.0);
  for (int i = 0; i < 200000; ++i) {
    const double v = i % 4 == 0 ? std::round(miles(random)) + 0.5 : miles(random);
    ASSERT_EQ(roundMiles(v), geo::toInt16HalfEven(v)) << v;
  }
  EXPECT_EQ(roundMiles(2.5), 2);
  EXPECT_EQ(roundMiles(3.5), 4);
  EXPECT_EQ(roundMiles(-2.5), -2);
}

TEST(VertexProjection, ProjectsEveryRecordRoundedWhateverTheThreads) {
  std::mt19937_64 random(11);
  std::uniform_int_distribution<int> lat(-5400, 5400), lon(-10800, 10800), code(-5, 2000);
  std::vector<OutlineRecord> records(50000);
  for (OutlineRecord& r : records) {
    r = {static_cast<std::int16_t>(code(random)), static_cast<std::int16_t>(lat(random)),
         static_cast<std::int16_t>(lon(random))};
  }
  // Minutes beyond the globe (a malformed file) are projected all the same.
  records[17] = {1, 32767, -32768};
  const OutlineProjector projector(-12.5, 130.25);
  std::vector<MapVertex> one(records.size()), three(records.size());
  projectRecords(records, projector, one, 1);
  projectRecords(records, projector, three, 3);
  EXPECT_EQ(one, three);
  for (std::size_t i = 0; i < records.size(); i += 97) {
    const geo::MapPoint p =
        geo::ProjectPoint(-12.5, 130.25, records[i].latDegrees(), records[i].lonDegrees());
    EXPECT_EQ(one[i], (MapVertex{geo::toInt16HalfEven(p.x), geo::toInt16HalfEven(p.y)})) << i;
  }
  const geo::MapPoint odd = geo::ProjectPoint(-12.5, 130.25, 32767 / 60.0, -32768 / 60.0);
  EXPECT_EQ(one[17], (MapVertex{geo::toInt16HalfEven(odd.x), geo::toInt16HalfEven(odd.y)}));

  std::vector<MapVertex> none;
  projectRecords({}, projector, none, 2);
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace orbelle::render
