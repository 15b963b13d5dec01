#include "gmt_text.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace mapdata {
namespace {

std::vector<Piece> parse(const std::string& text) {
  std::istringstream in(text);
  return readGmtSegments(in, "test.txt");
}

TEST(GmtText, ReadsSegmentsWithTheirLevels) {
  const auto pieces = parse(
      "# comment\n"
      "> Shore Bin # 74, Level 3\n"
      "14.5\t80.25\n"
      "-180 -16.5\r\n"
      "\n"
      "> Border Bin # 9, Level 2\n"
      "1 2\n"
      ">\n");  // an empty segment is dropped
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].level, 3);
  ASSERT_EQ(pieces[0].points.size(), 2u);
  EXPECT_EQ(pieces[0].points[0], (LonLat{14.5, 80.25}));
  EXPECT_EQ(pieces[0].points[1], (LonLat{-180.0, -16.5}));
  EXPECT_EQ(pieces[1].level, 2);
  EXPECT_EQ(pieces[1].points[0], (LonLat{1.0, 2.0}));
}

TEST(GmtText, PointsBeforeAnyHeaderFormOnePiece) {
  const auto pieces = parse("1 2\n3 4\n> x\n5 6\n");
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].points.size(), 2u);
  EXPECT_EQ(pieces[0].level, 0);
}

TEST(GmtText, MalformedLinesNameSourceAndLine) {
  try {
    parse("> a\n1 2\nnonsense\n");
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "test.txt:3: expected \"lon lat\", got \"nonsense\"");
  }
  EXPECT_THROW(parse("1\n"), std::runtime_error);
  EXPECT_THROW(parse("181 0\n"), std::runtime_error);
  EXPECT_THROW(parse("0 -90.5\n"), std::runtime_error);
  EXPECT_THROW(parse("nan 0\n"), std::runtime_error);
}

}  // namespace
}  // namespace mapdata
