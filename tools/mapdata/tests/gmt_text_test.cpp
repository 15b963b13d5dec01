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
  // An empty segment is dropped; points before any header form a piece of level 0.
  const auto pieces = parse(
      "1 2\n"
      "# comment\n"
      "> Shore Bin # 74, Level 3\n"
      "14.5\t80.25\n"
      "-180 -16.5\r\n"
      "\n"
      "> Border Bin # 9, Level 2\n"
      "1 2\n"
      ">\n");
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].level, 0);
  EXPECT_EQ(pieces[1].level, 3);
  EXPECT_EQ(pieces[1].points, (Polyline{{14.5, 80.25}, {-180.0, -16.5}}));
  EXPECT_EQ(pieces[2].level, 2);
  EXPECT_EQ(pieces[2].points, (Polyline{{1.0, 2.0}}));
}

TEST(GmtText, MalformedLinesNameSourceAndLine) {
  try {
    parse("> a\n1 2\nnonsense\n");
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "test.txt:3: expected \"lon lat\", got \"nonsense\"");
  }
  for (const char* text : {"1\n", "181 0\n", "0 -90.5\n", "nan 0\n"}) {
    EXPECT_THROW(parse(text), std::runtime_error) << text;
  }
}

}  // namespace
}  // namespace mapdata
