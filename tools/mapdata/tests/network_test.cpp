// Joining pieces: shore pieces into rings (assemble), border and river pieces into polylines
// (network), river polylines into chains (river_chains).
#include "network.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <stdexcept>

#include "assemble.hpp"
#include "river_chains.hpp"
#include "sphere_area.hpp"

namespace mapdata {
namespace {

// The distinct undirected segments drawn by a set of lines (a zero-length one draws nothing).
std::set<std::pair<std::uint32_t, std::uint32_t>> segments(const std::vector<MinuteLine>& lines) {
  std::set<std::pair<std::uint32_t, std::uint32_t>> out;
  for (const MinuteLine& line : lines)
    for (std::size_t i = 1; i < line.size(); ++i)
      if (!samePlace(line[i - 1], line[i]))
        out.insert(std::minmax(placeKey(line[i - 1]), placeKey(line[i])));
  return out;
}

TEST(Network, JoinsThroughSharedEndsStopsAtJunctionsKeepsRepeatsOnce) {
  struct Case {
    std::vector<MinuteLine> in;
    std::size_t lines, firstLineVertices, repeated;
  };
  // Joined; a junction at (0, 1); repeats and a zero-length piece; a loop given in two pieces
  // that meet at 180 and -180 (five vertices drawing its four segments: closed).
  const Case cases[] = {
      {{{{0, 0}, {0, 1}}, {{0, 2}, {0, 1}}, {{0, 2}, {0, 3}}}, 1, 4, 0},
      {{{{0, 0}, {0, 1}, {0, 2}}, {{1, 1}, {0, 1}}}, 3, 2, 0},
      {{{{0, 0}, {0, 1}, {0, 2}}, {{0, 2}, {0, 1}, {0, 0}}, {{0, 1}, {0, 2}}, {{5, 5}, {5, 5}}},
       1,
       3,
       3},
      {{{{0, 10790}, {0, 10800}, {10, 10800}}, {{10, -10800}, {10, 10790}, {0, 10790}}}, 1, 5, 0},
  };
  for (const Case& c : cases) {
    const Network out = buildNetwork(c.in);
    ASSERT_EQ(out.lines.size(), c.lines);
    EXPECT_EQ(out.lines[0].size(), c.firstLineVertices);
    EXPECT_EQ(out.repeatedSegments, c.repeated);
    EXPECT_EQ(segments(out.lines), segments(c.in));
  }
}

// A square cut into three pieces, the second given backwards and the pieces out of order; a
// square across 180, whose -180 copies of the shared ends are not repeated; repeated and
// degenerate pieces dropped; open ends refused.
TEST(AssembleRings, JoinsPiecesInAnyOrderAndDirectionAndAcrossTheAntimeridian) {
  const std::vector<Polyline> cases[] = {
      {{{1, 1}, {0, 1}, {0, 0}}, {{2, 0}, {1, 0}, {0, 0}}, {{2, 0}, {2, 1}, {1, 1}}},
      {{{179, 0}, {180, 0}},
       {{-180, 0}, {-179, 0}, {-179, 1}, {-180, 1}},
       {{180, 1}, {179, 1}, {179, 0}}},
  };
  for (const std::vector<Polyline>& pieces : cases) {
    const RingAssembly out = assembleRings(pieces);
    ASSERT_EQ(out.rings.size(), 1u);
    ASSERT_EQ(out.rings[0].size(), 7u);
    EXPECT_EQ(out.rings[0].front(), out.rings[0].back());
  }
  const Polyline island = {{5, 5}, {6, 5}, {6, 6}, {5, 5}};
  const RingAssembly out = assembleRings(
      {island, Polyline(island.rbegin(), island.rend()), island, {{1, 1}, {2, 2}, {1, 1}}});
  EXPECT_EQ(std::tuple(out.rings.size(), out.repeatedPieces, out.degeneratePieces),
            std::tuple(1u, 2u, 1u));
  EXPECT_THROW(assembleRings({{{0, 0}, {1, 0}, {1, 1}}}), std::runtime_error);
}

TEST(RiverChains, JoinPiecesAtSharedEndsAndThroughTheLakesTheyTouch) {
  // Great-circle length (km) of one degree of longitude along latitude lat.
  auto degreeAt = [](double lat) {
    const double rad = std::numbers::pi / 180.0;
    return 2 * std::asin(std::cos(lat * rad) * std::sin(0.5 * rad)) * kEarthRadiusKm;
  };
  // 0 and 1 share an end; 2 ends 3' from the first lake and 3 starts 3' from it; 4 lies 5' from
  // the other lake, alone; 5 and 6 share 180 = -180.
  const std::vector<MinuteLine> lines = {{{0, 0}, {0, 60}},         {{0, 120}, {0, 60}},
                                         {{600, 0}, {600, 60}},     {{600, 200}, {600, 260}},
                                         {{-600, 0}, {-600, 60}},   {{0, 10800}, {0, 10740}},
                                         {{0, -10800}, {0, -10740}}};
  const std::vector<MinuteLine> lakes = {{{600, 63}, {700, 130}, {600, 197}, {600, 63}},
                                         {{-600, 65}, {-700, 130}, {-600, 130}, {-600, 65}}};
  const std::vector<double> km = chainLengthsKm(lines, lakes);
  const double expected[] = {2 * degreeAt(0), 2 * degreeAt(0), 2 * degreeAt(10), 2 * degreeAt(10),
                             degreeAt(-10),   2 * degreeAt(0), 2 * degreeAt(0)};
  ASSERT_EQ(km.size(), std::size(expected));
  for (std::size_t i = 0; i < km.size(); ++i) EXPECT_NEAR(km[i], expected[i], 1e-6) << i;
  EXPECT_TRUE(chainLengthsKm({}, lakes).empty());
}

}  // namespace
}  // namespace mapdata
