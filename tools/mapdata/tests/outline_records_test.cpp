// File formats: the outline records and their checks (outline_records, outline_check), GMT's
// segment text (gmt_text), the land mask (land_mask).
#include "outline_records.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "gmt_text.hpp"
#include "land_mask.hpp"
#include "outline_check.hpp"

namespace mapdata {
namespace {

TEST(OutlineRecords, WritesLittleEndianRecordsAndReadsThemBack) {
  const std::vector<std::uint8_t> expected = {
      0xE9, 0x03, 0x18, 0x15, 0xD0, 0xD5,  // 1001, 5400, -10800
      0x01, 0x00, 0xFF, 0xFF, 0xFF, 0x00,  // 1, -1, 255
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // end
  };
  EXPECT_EQ(toBytes(encodeOutline({{{5400, -10800}, {-1, 255}}})), expected);
  const std::vector<MinuteLine> two = {{{0, 0}, {1, 2}, {3, 4}}, {{-5400, 10800}, {5400, -10800}}};
  std::size_t trailing = 0;
  const auto records = fromBytes(toBytes(encodeOutline(two, {1001, 1500})), trailing);
  const DecodedOutline decoded = decodeOutline(records);
  EXPECT_TRUE(decoded.problems.empty());
  EXPECT_EQ(decoded.lines, two);
  EXPECT_EQ(decoded.records, 6u);
  EXPECT_EQ(records[3].code, 1500);  // a river chain's mark is kept
  // Polylines the map would not draw; one start code per line, none a line code.
  EXPECT_THROW(encodeOutline({{{0, 0}}}), std::invalid_argument);
  EXPECT_THROW(encodeOutline({{{0, 0}, {5401, 0}}}), std::invalid_argument);
  EXPECT_THROW(encodeOutline({{{0, 0}, {0, -10801}}}), std::invalid_argument);
  EXPECT_THROW(encodeOutline(two, {1001}), std::invalid_argument);
  EXPECT_THROW(encodeOutline(two, {1001, 1000}), std::invalid_argument);
  // Chain marks: whole 10 km above 1002, saturated.
  for (auto [km, code] : {std::pair{9.99, 1002}, {10.0, 1003}, {-5.0, 1002}, {1e9, 32767}})
    EXPECT_EQ(chainStartCode(km), code) << km;
}

TEST(OutlineRecords, DecoderListsEveryDeviation) {
  const DecodedOutline d = decodeOutline({
      {1, 0, 0},        // line before any start
      {1001, 1, 1},     // single-vertex polyline: the next record is a start
      {1001, 2, 2},     // start
      {-3, 0, 0},       // negative code
      {7, 3, 3},        // line
      {1001, 6000, 0},  // start out of range
      {1, 0, 0},        // line
      {0, 0, 0},        // end
      {1, 9, 9},        // after the end
  });
  EXPECT_EQ(d.records, 8u);
  ASSERT_EQ(d.lines.size(), 3u);
  EXPECT_EQ(d.lines[1], (MinuteLine{{2, 2}, {3, 3}}));
  const char* expected[] = {"before the first start", "negative", "out of range", "after the end",
                            "single vertex"};
  ASSERT_EQ(d.problems.size(), std::size(expected));
  for (int i = 0; i < 5; ++i) EXPECT_NE(d.problems[i].find(expected[i]), std::string::npos) << i;
  std::size_t trailing = 0;
  const auto noEnd =
      decodeOutline(fromBytes({0xE9, 0x03, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 7}, trailing));
  EXPECT_EQ(trailing, 1u);
  EXPECT_EQ(noEnd.problems, std::vector<std::string>{"no end record"});
}

TEST(OutlineCheck, RingsMustCloseLinesMustBeJoinedAndSegmentsShort) {
  DecodedOutline d;
  d.lines = {{{0, 0}, {0, 1}, {1, 1}, {0, 0}}, {{5, 5}, {5, 6}, {6, 6}}};
  OutlineStats stats = checkOutline(d, true, 0.15);
  EXPECT_EQ(stats.closedPolylines, 1u);
  ASSERT_EQ(stats.problems.size(), 1u);
  EXPECT_NE(stats.problems[0].find("polyline 2"), std::string::npos);
  // (0,1) joins polylines 1 and 2 and nothing else meets there; (0,2), where polyline 2 ends on
  // polyline 3, is a junction of three segments.
  d.lines = {{{0, 0}, {0, 1}}, {{0, 1}, {0, 2}}, {{0, 3}, {0, 2}, {1, 2}}};
  stats = checkOutline(d, false, 0.15);
  ASSERT_EQ(stats.problems.size(), 2u);
  EXPECT_NE(stats.problems[0].find("polyline 1"), std::string::npos);
  EXPECT_NE(stats.problems[1].find("polyline 2"), std::string::npos);
  EXPECT_EQ(stats.vertices, 7u);
  d.lines = {{{0, 0}, {0, 6}, {0, 16}}};  // 0.1 and 0.1667 degrees
  stats = checkOutline(d, false, 0.15);
  EXPECT_NEAR(stats.longestSegmentDeg, 10.0 / 60, 1e-9);
  ASSERT_EQ(stats.problems.size(), 1u);
  EXPECT_NE(stats.problems[0].find("segment of"), std::string::npos);
}

std::vector<Piece> parse(const std::string& text) {
  std::istringstream in(text);
  return readGmtSegments(in, "test.txt");
}

// Segments with their levels: an empty one is dropped, points before any header form a piece of
// level 0; malformed lines name the source and line.
TEST(GmtText, ReadsSegmentsWithTheirLevelsAndRefusesMalformedLines) {
  const auto pieces = parse(
      "1 2\n# comment\n> Shore Bin # 74, Level 3\n14.5\t80.25\n-180 -16.5\r\n\n"
      "> Border Bin # 9, Level 2\n1 2\n>\n");
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(std::tuple(pieces[0].level, pieces[1].level, pieces[2].level), std::tuple(0, 3, 2));
  EXPECT_EQ(pieces[1].points, (Polyline{{14.5, 80.25}, {-180.0, -16.5}}));
  try {
    parse("> a\n1 2\nnonsense\n");
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "test.txt:3: expected \"lon lat\", got \"nonsense\"");
  }
  for (const char* text : {"1\n", "181 0\n", "0 -90.5\n", "nan 0\n"}) EXPECT_ANY_THROW(parse(text));
}

// A 6 x 3 mask of 60-degree cells whose values show a swapped row or column.
const std::vector<std::uint8_t> kCells = {0, 1, 2, 3, 4, 1, 1, 0, 0, 0, 0, 2, 3, 3, 1, 1, 1, 4};
constexpr std::uint32_t kCell = 60 * 3600;

// The mask round-trips and looks cells up from the north-west; grids that do not cover the globe
// and damaged files are refused.
TEST(LandMask, RoundTripsLooksUpCellsAndRefusesDamage) {
  const auto bytes = encodeMask(kCells, 6, 3, kCell);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 9), std::string("LANDMASK\x06"));
  const LandMask mask = decodeMask(bytes);
  EXPECT_EQ(mask.levels, kCells);
  // North-west cell; row 0 columns 1 and 2; row 1's last column; the south-east cell; 180 is
  // column 0 and the south pole the last row; longitudes fold (241 is -119).
  const std::tuple<double, double, int> lookups[] = {{89, -179, 0}, {89, -61, 1},  {89, -59, 2},
                                                     {0.5, 179, 2}, {-89, 179, 4}, {-90, 180, 3},
                                                     {90, -180, 0}, {89, 241, 1}};
  for (auto [lat, lon, level] : lookups) EXPECT_EQ(mask.at(lat, lon), level) << lat << " " << lon;
  std::vector<std::uint8_t> bad = kCells, none = {0, 1};
  bad[5] = 5;
  EXPECT_THROW(encodeMask(kCells, 6, 3, 3600), std::invalid_argument);
  EXPECT_THROW(encodeMask(kCells, 3, 6, kCell), std::invalid_argument);
  EXPECT_THROW(encodeMask(none, 6, 3, kCell), std::invalid_argument);
  EXPECT_THROW(encodeMask(bad, 6, 3, kCell), std::invalid_argument);
  // Truncated, another magic, a cell size that no longer covers the globe, a level above 4, empty.
  for (const auto& [at, value] :
       {std::pair{bytes.size(), -1}, {0ul, 'X'}, {16ul, 1}, {bytes.size() - 1, 9}, {0ul, -1}}) {
    auto spoilt = bytes;
    if (value >= 0) spoilt[at] = static_cast<std::uint8_t>(value);
    spoilt.resize(value >= 0 ? spoilt.size() : at == 0 ? 0 : at - 1);
    EXPECT_THROW(decodeMask(spoilt), std::runtime_error) << at;
  }
}

}  // namespace
}  // namespace mapdata
