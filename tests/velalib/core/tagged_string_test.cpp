// Tagged strings, item lists and wildcards, tested on the pure functions.
#include "tagged_string.hpp"

#include <gtest/gtest.h>

#include <string>

#include "item_list.hpp"
#include "wildcard.hpp"

namespace velalib {
namespace {

using namespace std::string_literals;

struct TagCase {
  const char *name;
  std::string tag;
  std::string tagged;
  std::string value;  // expected tagValue
  std::string field;  // expected tagField
};

class TagLookup : public ::testing::TestWithParam<TagCase> {};

TEST_P(TagLookup, FindsValueAndField) {
  const TagCase &c = GetParam();
  EXPECT_EQ(tagValue(c.tag, c.tagged), c.value);
  EXPECT_EQ(tagField(c.tag, c.tagged), c.field);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TagLookup,
    ::testing::Values(
        TagCase{"AtStart", "CALL=", "CALL=W1AW| NAME=Hiram|", "W1AW", "CALL=W1AW|"},
        TagCase{"AfterBlank", "NAME=", "CALL=W1AW| NAME=Hiram|", "Hiram", "NAME=Hiram|"},
        TagCase{"AfterBarNotFound", "NAME=", "CALL=W1AW|NAME=Hiram|", "", ""},
        TagCase{"EarlierValueHoldsTag", "B=", "A=x B=1| B=2|", "1", "B=1|"},
        TagCase{"NoBarAfterTag", "C=", "A=1| C=3", "", ""},
        TagCase{"CaseMatters", "call=", "CALL=W1AW|", "", ""},
        TagCase{"EmptyValue", "A=", "A=| B=2|", "", "A=|"},
        TagCase{"TagInsideWordNotFound", "ALL=", "CALL=W1AW|", "", ""},
        TagCase{"SecondOccurrenceAfterBlank", "ALL=", "CALL=1| ALL=2|", "2", "ALL=2|"},
        TagCase{"ValueMayHoldBlanks", "Q=", "Q= a b |", " a b ", "Q= a b |"},
        TagCase{"BytesAbove127", "\xE9=", "\xE9=\xFF|", "\xFF", "\xE9=\xFF|"},
        TagCase{"EmbeddedNulKept", "A=", "A=x\0y|"s, "x\0y"s, "A=x\0y|"s},
        TagCase{"EmptyText", "A=", "", "", ""}),
    [](const auto &info) { return info.param.name; });

TEST(TagLookup, FirstOccurrenceWinsEvenInsideAnEarlierValue) {
  // " B=" occurs inside the value of A; that occurrence is the one read, up to the next "|".
  const std::string tagged = "A=x B=inner| B=outer|";
  EXPECT_EQ(tagValue("B=", tagged), "inner");
  EXPECT_EQ(tagField("B=", tagged), "B=inner|");
  EXPECT_EQ(tagValue("A=", tagged), "x B=inner");
}

TEST(MakeTag, TrimsBlanksAndControlsFromTheValue) {
  EXPECT_EQ(makeTag("CALL=", "  W1AW  "), "CALL=W1AW|");
  EXPECT_EQ(makeTag("CALL=", "\t\r\n W1AW\x01\x1F "), "CALL=W1AW|");
  EXPECT_EQ(makeTag("N=", "a b"), "N=a b|");
  EXPECT_EQ(makeTag("N=", "\xA0x\xA0"), "N=\xA0x\xA0|");  // 160 is not a control
  EXPECT_EQ(makeTag("N=", "   "), "");
  EXPECT_EQ(makeTag("N=", ""), "");
  EXPECT_EQ(makeTag("N=", "\0\0"s), "");
  EXPECT_EQ(makeTag("", "v"), "v|");
}

TEST(MakeTag, RoundTripsThroughLookup) {
  const std::string tagged = makeTag("CALL=", " K1ABC ") + " " + makeTag("QTH=", "Boston ");
  EXPECT_EQ(tagValue("CALL=", tagged), "K1ABC");
  EXPECT_EQ(tagValue("QTH=", tagged), "Boston");
}

TEST(GetItem, PicksTheItemCountingFromOne) {
  const struct {
    std::string delimiter, list;
    int32_t index;
    std::string item;
  } cases[] = {{",", "a,,b", -5, "a"},
               {",", "a,,b", 0, "a"},
               {",", "a,,b", 1, "a"},
               {",", "a,,b", 2, ""},
               {",", "a,,b", 3, "b"},
               {",", "a,,b", 4, ""},
               {",", "a,,b", 2147483647, ""},
               {",", "a,b,", 3, ""},
               {",", "a,b,", 4, ""},
               {",", "", 1, ""},
               {",", "", 2, ""},
               {";,", "x;y,z", 2, "y,z"},
               {",", "only", 1, "only"},
               {",", "only", 2, ""},
               {"", "a,b", 1, "a,b"},
               {"", "a,b", 2, ""},
               {"", "a,b", 0, "a,b"},
               {"\t", "1\t2\t3", 3, "3"}};
  for (const auto &c : cases) {
    EXPECT_EQ(getItem(c.delimiter, c.list, c.index), c.item)
        << "list \"" << c.list << "\" index " << c.index;
  }
}

// Star, question mark and classes ([abc], [!abc], ranges either way round, "]" first); an
// unclosed class is literal text.
TEST(WildCard, Matches) {
  const struct {
    std::string pattern, text;
    bool matches;
  } cases[] = {
      // clang-format off
      {"*", "", true}, {"*", "anything", true}, {"***", "", true}, {"", "", true}, {"", "a", false},
      {"?", "", false}, {"?", "a", true}, {"?", "ab", false}, {"a*", "a", true},
      {"a**b", "ab", true}, {"a*b", "axxb", true}, {"a*b", "axxbx", false}, {"*b", "abab", true},
      {"a*b*c", "aXbYc", true}, {"a*b*c", "aXcYb", false}, {"*.txt", "notes.txt", true},
      {"*.txt", "notes.TXT", false}, {"W1AW", "w1aw", false}, {"W?AW", "W1AW", true},
      {"*?", "", false}, {"*?", "x", true}, {"a*", "b", false},
      {"*a*a*a*a*a*b", std::string(200, 'a'), false},
      {"*a*a*a*a*a*b", std::string(200, 'a') + "b", true}, {"[abc]", "b", true},
      {"[abc]", "d", false}, {"[abc]", "", false}, {"[!abc]", "d", true}, {"[!abc]", "a", false},
      {"[!abc]", "", false}, {"[]a]", "]", true}, {"[]a]", "a", true}, {"[]a]", "b", false},
      {"[!]a]", "]", false}, {"[!]a]", "x", true}, {"[a-c]", "b", true}, {"[a-c]", "-", false},
      {"[a-c]", "d", false}, {"[-a]", "-", true}, {"[-a]", "a", true}, {"[a-]", "-", true},
      {"[a-]", "a", true}, {"[a-]", "b", false}, {"[c-a]", "b", false}, {"[c-a]", "-", true},
      {"[c-a]", "c", true}, {"[c-a]", "a", true}, {"[a-a]", "a", true}, {"[a-a]", "-", true},
      {"[A-Z][0-9]*", "K1ABC", true}, {"[A-Z][0-9]*", "k1abc", false}, {"*[0-9]", "abc7", true},
      {"[\x80-\xFF]", "\xE9", true}, {"[\x01-\x7F]", "\xE9", false}, {"[abc", "[abc", true},
      {"[abc", "a", false}, {"a[", "a[", true}, {"[", "[", true}, {"[]", "[]", true},
      {"[!]", "[!]", true}, {"*[x", "ab[x", true}, {"[a-", "[a-", true}
      // clang-format on
  };
  for (const auto &c : cases) {
    EXPECT_EQ(wildCard(c.pattern, c.text), c.matches)
        << "pattern \"" << c.pattern << "\" text \"" << c.text << "\"";
  }
}

}  // namespace
}  // namespace velalib
