// MAKE_TAG, TAG_VAL, TAG_FLD, GET_ITEM, wild_card and val_ called through foxhost.
#include <cmath>
#include <sstream>

#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

using namespace std::string_literals;

constexpr int32_t kUserError = 1098;
constexpr int32_t kNoMemory = 182;
const char *const kInvalidType =
    "Invalid type passed to TAG_VAL().  Allowable types are C, D, I, F, L";

class Strings : public VelalibHost {};

TEST_F(Strings, MakeTagTrimsTheValue) {
  EXPECT_EQ(text("MAKE_TAG", {T("CALL="), T("  W1AW \t")}), "CALL=W1AW|");
  EXPECT_EQ(text("MAKE_TAG", {T("N="), T("\x01 two words \x1F")}), "N=two words|");
  EXPECT_EQ(text("MAKE_TAG", {T("CALL="), T("   ")}), "");
  EXPECT_EQ(text("MAKE_TAG", {T("CALL="), T("")}), "");
}

TEST_F(Strings, MakeTagOutOfMemoryRaisesHostError182) {
  host_.setHandleLimit(16);
  const foxhost::HostError e = errorOf("MAKE_TAG", {T("TAG="), T(std::string(40, 'v'))});
  EXPECT_EQ(e.number(), kNoMemory) << e.what();
}

struct LookupCase {
  const char *name;
  std::string tagged;
  std::string tag;
  std::string value;
  std::string field;
};

class TagLookupThroughHost : public VelalibHost,
                             public ::testing::WithParamInterface<LookupCase> {};

TEST_P(TagLookupThroughHost, ValueAndField) {
  const LookupCase &c = GetParam();
  EXPECT_EQ(text("TAG_VAL", {T(c.tag), T(c.tagged)}), c.value);
  EXPECT_EQ(text("TAG_VAL", {T(c.tag), T(c.tagged), T("C")}), c.value);
  EXPECT_EQ(text("TAG_FLD", {T(c.tag), T(c.tagged)}), c.field);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TagLookupThroughHost,
    ::testing::Values(LookupCase{"Start", "CALL=W1AW| QTH=Newington|", "CALL=", "W1AW",
                                 "CALL=W1AW|"},
                      LookupCase{"AfterBlank", "CALL=W1AW| QTH=Newington|", "QTH=", "Newington",
                                 "QTH=Newington|"},
                      LookupCase{"AfterBarIsNotFound", "CALL=W1AW|QTH=Newington|", "QTH=", "", ""},
                      LookupCase{"EarlierValueHoldsTag", "NOTE=ask QTH=home| QTH=Newington|",
                                 "QTH=", "home", "QTH=home|"},
                      LookupCase{"NoBarAfterTag", "CALL=W1AW| QTH=Newington", "QTH=", "", ""},
                      LookupCase{"Missing", "CALL=W1AW|", "RST=", "", ""},
                      LookupCase{"CaseMatters", "CALL=W1AW|", "Call=", "", ""},
                      LookupCase{"BinaryBytes", "K=\x01\xFF|"s, "K=", "\x01\xFF"s, "K=\x01\xFF|"s}),
    [](const auto &info) { return info.param.name; });

TEST_F(Strings, TagValTypes) {
  const std::string tagged = "N=  -42abc| F=-12.5e1x| Y=Yes| T=True| y=yes| E=| X=7|";
  Value v = call("TAG_VAL", {T("N="), T(tagged), T("I")});
  EXPECT_EQ(v.type, 'I');
  EXPECT_EQ(v.integer, -42);
  EXPECT_EQ(v.width, 12);

  v = call("TAG_VAL", {T("F="), T(tagged), T("F")});
  EXPECT_EQ(v.type, 'N');
  EXPECT_DOUBLE_EQ(v.number, -125.0);
  EXPECT_EQ(v.width, 20);
  EXPECT_EQ(v.decimals, 8u);

  EXPECT_TRUE(call("TAG_VAL", {T("Y="), T(tagged), T("L")}).logical);
  EXPECT_TRUE(call("TAG_VAL", {T("T="), T(tagged), T("L")}).logical);
  v = call("TAG_VAL", {T("y="), T(tagged), T("L")});  // lower-case "y" is false
  EXPECT_EQ(v.type, 'L');
  EXPECT_FALSE(v.logical);
  EXPECT_FALSE(call("TAG_VAL", {T("E="), T(tagged), T("L")}).logical);
  EXPECT_EQ(call("TAG_VAL", {T("E="), T(tagged), T("I")}).integer, 0);
  // Only the first letter of the type counts.
  EXPECT_EQ(call("TAG_VAL", {T("X="), T(tagged), T("Integer")}).integer, 7);
}

TEST_F(Strings, TagValRejectsOtherTypes) {
  for (const char *type : {"c", "i", "N", "", "Z", "d"}) {
    const foxhost::HostError e = errorOf("TAG_VAL", {T("X="), T("X=1|"), T(type)});
    EXPECT_EQ(e.number(), kUserError) << "type \"" << type << "\"";
    EXPECT_EQ(std::string(e.what()), kInvalidType) << "type \"" << type << "\"";
  }
}

struct DateCase {
  const char *setting;
};

class TagValDate : public VelalibHost, public ::testing::WithParamInterface<const char *> {};

TEST_P(TagValDate, SameDayUnderEveryDateSettingAndSettingRestored) {
  host_.execute(std::string("SET DATE ") + GetParam());
  const std::string before = host_.dateFormat();
  const Value v = call("TAG_VAL", {T("D="), T("A=1| D=20240229|"), T("D")});
  EXPECT_EQ(v.type, 'D');
  EXPECT_EQ(v.number, 2460370);
  EXPECT_EQ(host_.dateFormat(), before);
  const auto &commands = host_.executedCommands();
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[commands.size() - 2], "SET DATE MDY");
  EXPECT_EQ(commands.back(), "SET DATE " + before);
}

INSTANTIATE_TEST_SUITE_P(Settings, TagValDate,
                         ::testing::Values("AMERICAN", "BRITISH", "ANSI", "MDY", "DMY", "YMD",
                                           "GERMAN", "JAPAN"));

TEST_F(Strings, TagValDateThatIsNotEightDigitsIsEmpty) {
  for (const char *value : {"2024-02-29", "2024022", "", "abcdefgh", " 20240229"}) {
    const size_t commands = host_.executedCommands().size();
    const Value v = call("TAG_VAL", {T("D="), T("D="s + value + "|"), T("D")});
    EXPECT_EQ(v.type, 'D') << value;
    EXPECT_EQ(v.number, 0) << value;
    EXPECT_EQ(host_.executedCommands().size(), commands) << "date setting touched for " << value;
  }
}

TEST_F(Strings, HandleGrowthFailures) {
  // Arguments are copied into handles of their own size; a host that cannot grow them by one
  // ends each call with its own error.
  const std::string tagged(64, 'x');
  host_.setHandleLimit(64 + 3 + 1);
  foxhost::HostError e = errorOf("TAG_FLD", {T("AB="), T(tagged)});
  EXPECT_EQ(e.number(), kUserError);
  EXPECT_STREQ(e.what(), "TAG_FLD() _SetHandSize() failed!");

  e = errorOf("TAG_VAL", {T("AB="), T(tagged)});
  EXPECT_EQ(e.number(), kNoMemory);

  host_.setHandleLimit(64 + 1);
  e = errorOf("GET_ITEM", {T(","), T(tagged), I(1)});
  EXPECT_EQ(e.number(), kUserError);
  EXPECT_STREQ(e.what(), "GET_ITEM() _SetHandSize() failed!");
}

struct ItemCase {
  std::string list;
  int32_t index;
  std::string item;
};

class GetItemThroughHost : public VelalibHost, public ::testing::WithParamInterface<ItemCase> {};

TEST_P(GetItemThroughHost, Picks) {
  const ItemCase &c = GetParam();
  EXPECT_EQ(text("GET_ITEM", {T(","), T(c.list), I(c.index)}), c.item);
}

INSTANTIATE_TEST_SUITE_P(Indexes, GetItemThroughHost,
                         ::testing::Values(ItemCase{"a,,b", 0, "a"}, ItemCase{"a,,b", 1, "a"},
                                           ItemCase{"a,,b", 2, ""}, ItemCase{"a,,b", 3, "b"},
                                           ItemCase{"a,,b", 4, ""}, ItemCase{"a,,b", -1, "a"},
                                           ItemCase{"", 1, ""}, ItemCase{"x", 2, ""}));

TEST_F(Strings, GetItemDelimiterIsFirstCharacterAndMayBeEmpty) {
  EXPECT_EQ(text("GET_ITEM", {T("|,"), T("a|b,c|d"), I(2)}), "b,c");
  EXPECT_EQ(text("GET_ITEM", {T(""), T("a,b"), I(1)}), "a,b");
  EXPECT_EQ(text("GET_ITEM", {T(""), T("a,b"), I(2)}), "");
}

TEST_F(Strings, WildCard) {
  struct Case {
    const char *pattern;
    const char *text;
    bool match;
  } cases[] = {{"*", "", true},         {"*", "abc", true},       {"", "", true},
               {"", "a", false},        {"?", "", false},         {"a**c", "abbc", true},
               {"[!a-c]x", "dx", true}, {"[!a-c]x", "bx", false}, {"[]]", "]", true},
               {"[-z]", "-", true},     {"[z-]", "-", true},      {"[z-a]", "m", false},
               {"[z-a]", "-", true},    {"K*", "k1abc", false},   {"[abc", "[abc", true}};
  for (const Case &c : cases) {
    const Value v = call("wild_card", {T(c.pattern), T(c.text)});
    EXPECT_EQ(v.type, 'L');
    EXPECT_EQ(v.logical, c.match) << c.pattern << " / " << c.text;
  }
}

TEST_F(Strings, ValReadsDecimalNumbers) {
  Value v = call("val_", {T(" 14.0745 MHz")});
  EXPECT_EQ(v.type, 'N');
  EXPECT_DOUBLE_EQ(v.number, 14.0745);
  EXPECT_EQ(v.width, 20);
  EXPECT_EQ(v.decimals, 10u);
  EXPECT_DOUBLE_EQ(call("val_", {T("-2.5E-3")}).number, -0.0025);
  EXPECT_EQ(call("val_", {T("MHz")}).number, 0);
  EXPECT_TRUE(std::isinf(call("val_", {T("1e999")}).number));
}

TEST_F(Strings, WrongArgumentsAreRefusedByTheHost) {
  EXPECT_NE(errorOf("MAKE_TAG", {T("A=")}).number(), 0);
  EXPECT_NE(errorOf("GET_ITEM", {T(","), T("a"), T("1")}).number(), 0);
  EXPECT_NE(errorOf("TAG_VAL", {T("A="), T("A=1|"), T("C"), T("extra")}).number(), 0);
}

TEST_F(Strings, ScriptUse) {
  std::istringstream script(
      "x = MAKE_TAG('CALL=', ' W1AW ') + ' ' + MAKE_TAG('FREQ=', '14.025')\n"
      "y = TAG_VAL('FREQ=', x, 'F')\n"
      "z = GET_ITEM(',', 'a,b,c', 2)\n");
  host_.runScript(script, "tags.prg");
  EXPECT_EQ(host_.variable("x").text, "CALL=W1AW| FREQ=14.025|");
  EXPECT_DOUBLE_EQ(host_.variable("y").number, 14.025);
  EXPECT_EQ(host_.variable("z").text, "b");
}

}  // namespace
}  // namespace velalib::testing
