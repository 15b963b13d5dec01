#include "outline_records.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "outline_check.hpp"

namespace mapdata {
namespace {

TEST(OutlineRecords, WritesLittleEndianRecordsAndReadsThemBack) {
  const std::vector<MinuteLine> lines = {{{5400, -10800}, {-1, 255}}};
  const std::vector<std::uint8_t> expected = {
      0xE9, 0x03, 0x18, 0x15, 0xD0, 0xD5,  // 1001, 5400, -10800
      0x01, 0x00, 0xFF, 0xFF, 0xFF, 0x00,  // 1, -1, 255
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // end
  };
  EXPECT_EQ(toBytes(encodeOutline(lines)), expected);

  const std::vector<MinuteLine> two = {{{0, 0}, {1, 2}, {3, 4}}, {{-5400, 10800}, {5400, -10800}}};
  std::size_t trailing = 0;
  const std::vector<Record> records =
      fromBytes(toBytes(encodeOutline(two, {1001, 1500})), trailing);
  const DecodedOutline decoded = decodeOutline(records);
  EXPECT_TRUE(decoded.problems.empty());
  EXPECT_EQ(decoded.lines, two);
  EXPECT_EQ(decoded.records, 6u);
  EXPECT_EQ(records[3].code, 1500);  // a river chain's mark is kept

  EXPECT_THROW(encodeOutline({{{0, 0}}}), std::invalid_argument);  // the map would not draw it
  EXPECT_THROW(encodeOutline({{{0, 0}, {5401, 0}}}), std::invalid_argument);
  EXPECT_THROW(encodeOutline({{{0, 0}, {0, -10801}}}), std::invalid_argument);
  EXPECT_THROW(encodeOutline(two, {1001}), std::invalid_argument);
  EXPECT_THROW(encodeOutline(two, {1001, 1000}), std::invalid_argument);  // a line code
}

TEST(OutlineRecords, ChainCodesAreWholeTenKilometresAboveTheFirstStartCode) {
  for (const auto& [km, code] : {std::pair{0.0, 1002},
                                 {9.99, 1002},
                                 {10.0, 1003},
                                 {4454.0, 1447},
                                 {-5.0, 1002},
                                 {1e9, 32767}}) {
    EXPECT_EQ(chainStartCode(km), code) << km;
  }
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
  const char* expected[] = {"before the first start", "negative", "out of range", "after the end",
                            "single vertex"};
  for (int i = 0; i < 5; ++i) EXPECT_NE(d.problems[i].find(expected[i]), std::string::npos) << i;

  std::size_t trailing = 0;
  const auto noEnd =
      decodeOutline(fromBytes({0xE9, 0x03, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 7}, trailing));
  EXPECT_EQ(trailing, 1u);
  ASSERT_EQ(noEnd.problems.size(), 1u);
  EXPECT_EQ(noEnd.problems[0], "no end record");
}

TEST(OutlineCheck, RingsMustCloseLinesMustBeJoinedAndSegmentsShort) {
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

  DecodedOutline steps;
  steps.lines = {{{0, 0}, {0, 6}, {0, 16}}};  // 0.1 and 0.1667 degrees
  const OutlineStats stepStats = checkOutline(steps, false, 0.15);
  EXPECT_NEAR(stepStats.longestSegmentDeg, 10.0 / 60, 1e-9);
  ASSERT_EQ(stepStats.problems.size(), 1u);
  EXPECT_NE(stepStats.problems[0].find("segment of"), std::string::npos);
}

}  // namespace
}  // namespace mapdata
