// Tagged strings, item lists and wildcards, tested on the pure functions.
#include <gtest/gtest.h>

#include <string>

#include "item_list.hpp"
#include "tagged_string.hpp"
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

struct ItemCase {
  std::string delimiter;
  std::string list;
  int32_t index;
  std::string item;
};

class GetItemTable : public ::testing::TestWithParam<ItemCase> {};

TEST_P(GetItemTable, PicksTheItem) {
  const ItemCase &c = GetParam();
  EXPECT_EQ(getItem(c.delimiter, c.list, c.index), c.item)
      << "list \"" << c.list << "\" index " << c.index;
}

INSTANTIATE_TEST_SUITE_P(
    Indexes, GetItemTable,
    ::testing::Values(ItemCase{",", "a,,b", -5, "a"}, ItemCase{",", "a,,b", 0, "a"},
                      ItemCase{",", "a,,b", 1, "a"}, ItemCase{",", "a,,b", 2, ""},
                      ItemCase{",", "a,,b", 3, "b"}, ItemCase{",", "a,,b", 4, ""},
                      ItemCase{",", "a,,b", 2147483647, ""}, ItemCase{",", "a,b,", 3, ""},
                      ItemCase{",", "a,b,", 4, ""}, ItemCase{",", "", 1, ""},
                      ItemCase{",", "", 2, ""}, ItemCase{";,", "x;y,z", 2, "y,z"},
                      ItemCase{",", "only", 1, "only"}, ItemCase{",", "only", 2, ""},
                      ItemCase{"", "a,b", 1, "a,b"}, ItemCase{"", "a,b", 2, ""},
                      ItemCase{"", "a,b", 0, "a,b"}, ItemCase{"\t", "1\t2\t3", 3, "3"}));

struct WildCase {
  std::string pattern;
  std::string text;
  bool matches;
};

class WildCardTable : public ::testing::TestWithParam<WildCase> {};

TEST_P(WildCardTable, Matches) {
  const WildCase &c = GetParam();
  EXPECT_EQ(wildCard(c.pattern, c.text), c.matches)
      << "pattern \"" << c.pattern << "\" text \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    StarAndQuestion, WildCardTable,
    ::testing::Values(WildCase{"*", "", true}, WildCase{"*", "anything", true},
                      WildCase{"***", "", true}, WildCase{"", "", true}, WildCase{"", "a", false},
                      WildCase{"?", "", false}, WildCase{"?", "a", true},
                      WildCase{"?", "ab", false}, WildCase{"a*", "a", true},
                      WildCase{"a**b", "ab", true}, WildCase{"a*b", "axxb", true},
                      WildCase{"a*b", "axxbx", false}, WildCase{"*b", "abab", true},
                      WildCase{"a*b*c", "aXbYc", true}, WildCase{"a*b*c", "aXcYb", false},
                      WildCase{"*.txt", "notes.txt", true}, WildCase{"*.txt", "notes.TXT", false},
                      WildCase{"W1AW", "w1aw", false}, WildCase{"W?AW", "W1AW", true},
                      WildCase{"*?", "", false}, WildCase{"*?", "x", true},
                      WildCase{"a*", "b", false},
                      WildCase{"*a*a*a*a*a*b", std::string(200, 'a'), false},
                      WildCase{"*a*a*a*a*a*b", std::string(200, 'a') + "b", true}));

INSTANTIATE_TEST_SUITE_P(
    Classes, WildCardTable,
    ::testing::Values(
        WildCase{"[abc]", "b", true}, WildCase{"[abc]", "d", false}, WildCase{"[abc]", "", false},
        WildCase{"[!abc]", "d", true}, WildCase{"[!abc]", "a", false},
        WildCase{"[!abc]", "", false}, WildCase{"[]a]", "]", true}, WildCase{"[]a]", "a", true},
        WildCase{"[]a]", "b", false}, WildCase{"[!]a]", "]", false}, WildCase{"[!]a]", "x", true},
        WildCase{"[a-c]", "b", true}, WildCase{"[a-c]", "-", false}, WildCase{"[a-c]", "d", false},
        WildCase{"[-a]", "-", true}, WildCase{"[-a]", "a", true}, WildCase{"[a-]", "-", true},
        WildCase{"[a-]", "a", true}, WildCase{"[a-]", "b", false}, WildCase{"[c-a]", "b", false},
        WildCase{"[c-a]", "-", true}, WildCase{"[c-a]", "c", true}, WildCase{"[c-a]", "a", true},
        WildCase{"[a-a]", "a", true}, WildCase{"[a-a]", "-", true},
        WildCase{"[A-Z][0-9]*", "K1ABC", true}, WildCase{"[A-Z][0-9]*", "k1abc", false},
        WildCase{"*[0-9]", "abc7", true}, WildCase{"[\x80-\xFF]", "\xE9", true},
        WildCase{"[\x01-\x7F]", "\xE9", false}));

INSTANTIATE_TEST_SUITE_P(UnclosedClassIsLiteral, WildCardTable,
                         ::testing::Values(WildCase{"[abc", "[abc", true},
                                           WildCase{"[abc", "a", false}, WildCase{"a[", "a[", true},
                                           WildCase{"[", "[", true}, WildCase{"[]", "[]", true},
                                           WildCase{"[!]", "[!]", true},
                                           WildCase{"*[x", "ab[x", true},
                                           WildCase{"[a-", "[a-", true}));

}  // namespace
}  // namespace velalib
