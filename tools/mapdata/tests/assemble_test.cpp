#include "assemble.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace mapdata {
namespace {

TEST(AssembleRings, JoinsPiecesInAnyOrderAndDirectionAndAcrossTheAntimeridian) {
  // A square cut into three pieces, the second given backwards and the pieces out of order; a
  // square across 180, whose -180 copies of the shared ends are not repeated.
  const std::vector<Polyline> cases[] = {
      {{{1, 1}, {0, 1}, {0, 0}}, {{2, 0}, {1, 0}, {0, 0}}, {{2, 0}, {2, 1}, {1, 1}}},
      {{{179, 0}, {180, 0}},
       {{-180, 0}, {-179, 0}, {-179, 1}, {-180, 1}},
       {{180, 1}, {179, 1}, {179, 0}}},
  };
  for (const std::vector<Polyline>& pieces : cases) {
    const RingAssembly out = assembleRings(pieces);
    ASSERT_EQ(out.rings.size(), 1u);
    const Polyline& ring = out.rings[0];
    ASSERT_EQ(ring.size(), 7u);
    EXPECT_EQ(ring.front(), ring.back());
  }
  // Every original vertex of the first is in its ring exactly once (plus the closing copy).
  const Polyline ring = assembleRings(cases[0]).rings[0];
  for (const LonLat p : {LonLat{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}, {0, 1}})
    EXPECT_EQ(std::count(ring.begin(), ring.end() - 1, p), 1) << p.lon << " " << p.lat;
}

TEST(AssembleRings, DropsRepeatedAndDegeneratePiecesAndRefusesOpenEnds) {
  const Polyline island = {{5, 5}, {6, 5}, {6, 6}, {5, 5}};
  const Polyline islandBackwards(island.rbegin(), island.rend());
  const RingAssembly out =
      assembleRings({island, islandBackwards, island, {{1, 1}, {2, 2}, {1, 1}}});
  EXPECT_EQ(out.rings.size(), 1u);
  EXPECT_EQ(out.repeatedPieces, 2u);
  EXPECT_EQ(out.degeneratePieces, 1u);
  EXPECT_THROW(assembleRings({{{0, 0}, {1, 0}, {1, 1}}}), std::runtime_error);
}

}  // namespace
}  // namespace mapdata
