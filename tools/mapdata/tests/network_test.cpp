#include "network.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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
  const Case cases[] = {
      {{{{0, 0}, {0, 1}}, {{0, 2}, {0, 1}}, {{0, 2}, {0, 3}}}, 1, 4, 0},
      {{{{0, 0}, {0, 1}, {0, 2}}, {{1, 1}, {0, 1}}}, 3, 2, 0},  // a junction at (0, 1)
      {{{{0, 0}, {0, 1}, {0, 2}}, {{0, 2}, {0, 1}, {0, 0}}, {{0, 1}, {0, 2}}, {{5, 5}, {5, 5}}},
       1,
       3,
       3},
      // A loop given in two pieces that meet at 180 and -180.
      {{{{0, 10790}, {0, 10800}, {10, 10800}}, {{10, -10800}, {10, 10790}, {0, 10790}}}, 1, 5, 0},
  };
  for (const Case& c : cases) {
    const Network out = buildNetwork(c.in);
    ASSERT_EQ(out.lines.size(), c.lines);
    EXPECT_EQ(out.lines[0].size(), c.firstLineVertices);
    EXPECT_EQ(out.repeatedSegments, c.repeated);
    EXPECT_EQ(segments(out.lines), segments(c.in));
  }
  const MinuteLine loop = buildNetwork(cases[3].in).lines[0];
  EXPECT_TRUE(samePlace(loop.front(), loop.back()));
}

}  // namespace
}  // namespace mapdata
