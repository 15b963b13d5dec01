#include "script.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace foxhost {
namespace {

// Runs of blanks as one, so the tests do not depend on how joined lines are spaced.
std::string collapsed(const std::string &s) {
  std::string out;
  for (char c : s) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::vector<ScriptCommand> split(const std::string &text) {
  std::istringstream in(text);
  ScriptReader reader(in);
  std::vector<ScriptCommand> out;
  ScriptCommand c;
  while (reader.next(c)) out.push_back(c);
  return out;
}

TEST(Script, ContinuationJoinsLinesAndKeepsTheFirstLineNumber) {
  const auto cmds = split("a = 1\r\nb = 'x' + ;\n  'y' ;\n + 'z'\nc = 2\n");
  ASSERT_EQ(cmds.size(), 3u);
  EXPECT_EQ(cmds[0].text, "a = 1");
  EXPECT_EQ(cmds[1].line, 2u);
  EXPECT_EQ(collapsed(cmds[1].text), "b = 'x' + 'y' + 'z'");
  EXPECT_EQ(cmds[2].line, 5u);
}

TEST(Script, CommentsAreRemoved) {
  const auto cmds =
      split("* a comment;\nNOTE another\nx = 1 && trailing ;\n? '&&' && not a string\n");
  ASSERT_EQ(cmds.size(), 4u);
  EXPECT_EQ(cmds[0].text, "");
  EXPECT_EQ(cmds[1].text, "");
  EXPECT_EQ(cmds[2].text, "x = 1");  // the ";" inside the comment does not continue
  EXPECT_EQ(cmds[2].line, 3u);
  EXPECT_EQ(cmds[3].text, "? '&&'");
}

TEST(Script, NotesIsNotNote) {
  const auto cmds = split("NOTES = 1\n");
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(cmds[0].text, "NOTES = 1");
}

TEST(Script, CommentStartSkipsStrings) {
  EXPECT_EQ(commentStart("a && b"), 2u);
  EXPECT_EQ(commentStart("'&&' \"&&\" [&&] &&"), 15u);
  EXPECT_EQ(commentStart("no comment"), 10u);
}

TEST(Script, LastLineContinuedEndsTheCommand) {
  const auto cmds = split("x = 1 ;");
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(collapsed(cmds[0].text), "x = 1");
}

}  // namespace
}  // namespace foxhost
