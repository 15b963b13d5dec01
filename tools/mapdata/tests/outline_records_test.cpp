#include "outline_records.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "outline_check.hpp"

namespace mapdata {
namespace {

DecodedOutline decodeBytes(const std::vector<std::uint8_t>& bytes) {
  std::size_t trailing = 0;
  return decodeOutline(fromBytes(bytes, trailing));
}

TEST(OutlineRecords, WritesLittleEndianRecordsWithStartLineAndEndCodes) {
  const std::vector<MinuteLine> lines = {{{5400, -10800}, {-1, 255}}};
  const std::vector<std::uint8_t> expected = {
      0xE9, 0x03, 0x18, 0x15, 0xD0, 0xD5,  // 1001, 5400, -10800
      0x01, 0x00, 0xFF, 0xFF, 0xFF, 0x00,  // 1, -1, 255
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // end
  };
  EXPECT_EQ(toBytes(encodeOutline(lines)), expected);
}

TEST(OutlineRecords, RoundTripsPolylines) {
  const std::vector<MinuteLine> lines = {{{0, 0}, {1, 2}, {3, 4}},
                                         {{-5400, 10800}, {5400, -10800}}};
  const DecodedOutline decoded = decodeBytes(toBytes(encodeOutline(lines)));
  EXPECT_TRUE(decoded.problems.empty());
  EXPECT_EQ(decoded.lines, lines);
  EXPECT_EQ(decoded.records, 6u);
}

TEST(OutlineRecords, RefusesPolylinesTheMapWouldNotDraw) {
  EXPECT_THROW(encodeOutline({{{0, 0}}}), std::invalid_argument);
  EXPECT_THROW(encodeOutline({{{0, 0}, {5401, 0}}}), std::invalid_argument);
  EXPECT_THROW(encodeOutline({{{0, 0}, {0, -10801}}}), std::invalid_argument);
}

TEST(OutlineRecords, DecoderListsEveryDeviation) {
  const std::vector<Record> records = {
      {1, 0, 0},        // line before any start
      {1001, 1, 1},     // single-vertex polyline: the next record is a start
      {1001, 2, 2},     // start
      {-3, 0, 0},       // negative code
      {7, 3, 3},        // line
      {1001, 6000, 0},  // start out of range
      {1, 0, 0},        // line
      {0, 0, 0},        // end
      {1, 9, 9},        // after the end
  };
  const DecodedOutline d = decodeOutline(records);
  EXPECT_EQ(d.records, 8u);
  ASSERT_EQ(d.lines.size(), 3u);
  EXPECT_EQ(d.lines[1], (MinuteLine{{2, 2}, {3, 3}}));
  ASSERT_EQ(d.problems.size(), 5u);
  EXPECT_NE(d.problems[0].find("before the first start"), std::string::npos);
  EXPECT_NE(d.problems[1].find("negative"), std::string::npos);
  EXPECT_NE(d.problems[2].find("out of range"), std::string::npos);
  EXPECT_NE(d.problems[3].find("after the end"), std::string::npos);
  EXPECT_NE(d.problems[4].find("single vertex"), std::string::npos);

  std::size_t trailing = 0;
  const auto noEnd =
      decodeOutline(fromBytes({0xE9, 0x03, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 7}, trailing));
  EXPECT_EQ(trailing, 1u);
  ASSERT_EQ(noEnd.problems.size(), 1u);
  EXPECT_EQ(noEnd.problems[0], "no end record");
}

TEST(OutlineCheck, RingsMustCloseAndLinesMustBeJoined) {
  DecodedOutline rings;
  rings.lines = {{{0, 0}, {0, 1}, {1, 1}, {0, 0}}, {{5, 5}, {5, 6}, {6, 6}}};
  const OutlineStats ringStats = checkOutline(rings, true, 0.15);
  EXPECT_EQ(ringStats.closedPolylines, 1u);
  ASSERT_EQ(ringStats.problems.size(), 1u);
  EXPECT_NE(ringStats.problems[0].find("polyline 2"), std::string::npos);

  DecodedOutline lines;
  lines.lines = {{{0, 0}, {0, 1}}, {{0, 1}, {0, 2}}, {{0, 3}, {0, 2}, {1, 2}}};
  const OutlineStats lineStats = checkOutline(lines, false, 0.15);
  // (0,1) joins polylines 1 and 2 and nothing else meets there; (0,2), where polyline 2 ends on
  // polyline 3, is a junction of three segments.
  ASSERT_EQ(lineStats.problems.size(), 2u);
  EXPECT_NE(lineStats.problems[0].find("polyline 1"), std::string::npos);
  EXPECT_NE(lineStats.problems[1].find("polyline 2"), std::string::npos);
  EXPECT_EQ(lineStats.vertices, 7u);
}

TEST(OutlineCheck, FlagsLongSegments) {
  DecodedOutline d;
  d.lines = {{{0, 0}, {0, 6}, {0, 16}}};  // 0.1 and 0.1667 degrees
  const OutlineStats stats = checkOutline(d, false, 0.15);
  EXPECT_NEAR(stats.longestSegmentDeg, 10.0 / 60, 1e-9);
  ASSERT_EQ(stats.problems.size(), 1u);
  EXPECT_NE(stats.problems[0].find("segment of"), std::string::npos);
}

}  // namespace
}  // namespace mapdata
