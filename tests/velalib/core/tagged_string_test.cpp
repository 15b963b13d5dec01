// Tagged strings and wildcards on the pure functions.
#include "tagged_string.hpp"

#include <gtest/gtest.h>

#include <string>

#include "wildcard.hpp"

namespace velalib {
namespace {

using namespace std::string_literals;

// A tag counts at the start or after a blank, up to the next "|"; the first one wins.
TEST(TaggedString, LookupFindsValueAndField) {
  const struct {
    std::string tag, tagged, value, field;
  } cases[] = {
      {"NAME=", "CALL=W1AW| NAME=Hiram|", "Hiram", "NAME=Hiram|"},
      {"NAME=", "CALL=W1AW|NAME=Hiram|", "", ""},  // after a bar, not a blank
      {"A=", "A=x B=1| B=2|", "x B=1", "A=x B=1|"},
      {"C=", "A=1| C=3", "", ""},  // no bar after the tag
      {"A=", "A=| B=2|", "", "A=|"},
      {"ALL=", "CALL=1| ALL=2|", "2", "ALL=2|"},  // not inside a word
      {"\xE9=", "\xE9=\xFF|", "\xFF", "\xE9=\xFF|"},
      {"A=", "A=x\0y|"s, "x\0y"s, "A=x\0y|"s},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(tagValue(c.tag, c.tagged), c.value) << c.tag << " in " << c.tagged;
    EXPECT_EQ(tagField(c.tag, c.tagged), c.field) << c.tag << " in " << c.tagged;
  }
}

// Stars, "?", classes (negated, ranges either way, "]" first); an unclosed class is literal.
TEST(WildCard, Matches) {
  const struct {
    std::string pattern, text;
    bool matches;
  } cases[] = {
      {"***", "", true},
      {"", "a", false},
      {"?", "ab", false},
      {"a*b", "axxbx", false},
      {"*?", "", false},
      {"*a*a*a*a*a*b", std::string(200, 'a'), false},
      {"*a*a*a*a*a*b", std::string(200, 'a') + "b", true},
      {"[abc]", "b", true},
      {"[!abc]", "a", false},
      {"[]a]", "]", true},
      {"[a-c]", "a", true},
      {"[a-c]", "c", true},
      {"[a-c]", "-", false},
      {"[-a]", "-", true},
      {"[a-]", "-", true},
      {"[c-a]", "b", false},
      {"[c-a]", "a", true},
      {"[\x80-\xFF]", "\xE9", true},
      {"[\x01-\x7F]", "\xE9", false},
      {"[abc", "[abc", true},
      {"[", "[", true},
      {"*[x", "ab[x", true},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(wildCard(c.pattern, c.text), c.matches)
        << "pattern \"" << c.pattern << "\" text \"" << c.text << "\"";
  }
}

}  // namespace
}  // namespace velalib
