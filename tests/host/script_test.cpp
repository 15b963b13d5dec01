#include "script.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace foxhost {
namespace {

// The commands a script splits into, as "line:text" with runs of blanks as one.
std::string split(const std::string &text) {
  std::istringstream in(text);
  ScriptReader reader(in);
  std::string out;
  for (ScriptCommand c; reader.next(c);) {
    out += (out.empty() ? "" : "|") + std::to_string(c.line) + ":";
    for (char ch : c.text) {
      if (ch != ' ' || (out.back() != ' ' && out.back() != ':')) out += ch;
    }
    if (out.back() == ' ') out.pop_back();
  }
  return out;
}

// Continuation joins lines under the first one's number; comments go, also with a ";" in them.
TEST(Script, SplitsIntoCommands) {
  const std::pair<const char *, const char *> cases[] = {
      {"a = 1\r\nb = 'x' + ;\n  'y' ;\n + 'z'\nc = 2\n", "1:a = 1|2:b = 'x' + 'y' + 'z'|5:c = 2"},
      {"* a comment;\nNOTE another\nx = 1 && trailing ;\n", "1:|2:|3:x = 1"},
      {"? '&&' && not a string\nNOTES = 1\n", "1:? '&&'|2:NOTES = 1"},
      {"x = 1 ;", "1:x = 1"},  // a last line continued ends the command
  };
  for (const auto &[text, commands] : cases) EXPECT_EQ(split(text), commands) << text;
  EXPECT_EQ(commentStart("'&&' \"&&\" [&&] &&"), 15u);
  EXPECT_EQ(commentStart("no comment"), 10u);
}

}  // namespace
}  // namespace foxhost
