#include "network.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace mapdata {
namespace {

// The distinct undirected segments drawn by a set of lines.
std::set<std::pair<std::uint32_t, std::uint32_t>> segments(const std::vector<MinuteLine>& lines) {
  std::set<std::pair<std::uint32_t, std::uint32_t>> out;
  for (const MinuteLine& line : lines)
    for (std::size_t i = 1; i < line.size(); ++i)
      out.insert(std::minmax(placeKey(line[i - 1]), placeKey(line[i])));
  return out;
}

TEST(Network, JoinsPiecesThroughSharedEnds) {
  const std::vector<MinuteLine> in = {{{0, 0}, {0, 1}}, {{0, 2}, {0, 1}}, {{0, 2}, {0, 3}}};
  const Network out = buildNetwork(in);
  ASSERT_EQ(out.lines.size(), 1u);
  EXPECT_EQ(out.lines[0].size(), 4u);
  EXPECT_EQ(segments(out.lines), segments(in));
}

TEST(Network, StopsAtJunctions) {
  const std::vector<MinuteLine> in = {{{0, 0}, {0, 1}, {0, 2}}, {{1, 1}, {0, 1}}};
  const Network out = buildNetwork(in);
  EXPECT_EQ(out.lines.size(), 3u);
  EXPECT_EQ(segments(out.lines), segments(in));
}

TEST(Network, KeepsRepeatedSegmentsOnce) {
  const std::vector<MinuteLine> in = {
      {{0, 0}, {0, 1}, {0, 2}}, {{0, 2}, {0, 1}, {0, 0}}, {{0, 1}, {0, 2}}, {{5, 5}, {5, 5}}};
  const Network out = buildNetwork(in);
  EXPECT_EQ(out.repeatedSegments, 3u);
  ASSERT_EQ(out.lines.size(), 1u);
  EXPECT_EQ(out.lines[0].size(), 3u);
}

TEST(Network, LoopsAndTheAntimeridian) {
  // A loop given in two pieces that meet at 180 and -180.
  const std::vector<MinuteLine> in = {{{0, 10790}, {0, 10800}, {10, 10800}},
                                      {{10, -10800}, {10, 10790}, {0, 10790}}};
  const Network out = buildNetwork(in);
  ASSERT_EQ(out.lines.size(), 1u);
  const MinuteLine& loop = out.lines[0];
  EXPECT_EQ(loop.size(), 5u);
  EXPECT_TRUE(samePlace(loop.front(), loop.back()));
}

}  // namespace
}  // namespace mapdata
