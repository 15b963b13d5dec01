// MAKE_TAG, TAG_VAL, TAG_FLD, GET_ITEM, wild_card and val_ through foxhost: the host's texts
// reach the rules (tabled on the pure functions) whole, and results come back with their types.
#include <limits>
#include <sstream>

#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

using namespace std::string_literals;

constexpr int32_t kUserError = 1098;
constexpr int32_t kNoMemory = 182;

class Strings : public VelalibHost {};

TEST_F(Strings, Results) {
  const std::string tagged = "N=  -42abc| F=-12.5e1x| Y=Yes| T=True| y=yes| E=| X=7|";
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char *name;
    std::vector<Value> args;
    Value result;
  } cases[] = {
      {"MAKE_TAG", {T("CALL="), T("  W1AW \t")}, T("CALL=W1AW|")},
      {"MAKE_TAG", {T("CALL="), T("   ")}, T("")},
      {"MAKE_TAG", {T("CALL="), T("")}, T("")},
      {"TAG_VAL", {T("QTH="), T("CALL=W1AW| QTH=Newington|")}, T("Newington")},
      {"TAG_VAL", {T("QTH="), T("CALL=W1AW|QTH=Newington|"), T("C")}, T("")},
      {"TAG_VAL", {T("K="), T("K=\x01\xFF|"s), T("C")}, T("\x01\xFF"s)},
      {"TAG_FLD", {T("K="), T("K=\x01\xFF|"s)}, T("K=\x01\xFF|"s)},
      {"TAG_FLD", {T("QTH="), T("CALL=W1AW|QTH=Newington|")}, T("")},
      {"TAG_VAL", {T("N="), T(tagged), T("I")}, I(-42, 12)},
      {"TAG_VAL", {T("E="), T(tagged), T("I")}, I(0, 12)},
      {"TAG_VAL", {T("X="), T(tagged), T("Integer")}, I(7, 12)},  // the first letter counts
      {"TAG_VAL", {T("F="), T(tagged), T("F")}, Value::Number(-125.0, 20, 8)},
      {"TAG_VAL", {T("Y="), T(tagged), T("L")}, Value::Logical(true)},
      {"TAG_VAL", {T("T="), T(tagged), T("L")}, Value::Logical(true)},
      {"TAG_VAL", {T("y="), T(tagged), T("L")}, Value::Logical(false)},  // lower-case "y"
      {"TAG_VAL", {T("E="), T(tagged), T("L")}, Value::Logical(false)},
      {"GET_ITEM", {T(","), T("a,,b"), I(3)}, T("b")},
      {"GET_ITEM", {T(","), T("a,,b"), I(-1)}, T("a")},
      {"GET_ITEM", {T(","), T("a,,b"), I(4)}, T("")},
      {"GET_ITEM", {T("|,"), T("a|b,c|d"), I(2)}, T("b,c")},  // the delimiter's first character
      {"GET_ITEM", {T(""), T("a,b"), I(1)}, T("a,b")},
      {"wild_card", {T("[!a-c]x"), T("dx")}, Value::Logical(true)},
      {"wild_card", {T("K*"), T("k1abc")}, Value::Logical(false)},
      {"val_", {T(" 14.0745 MHz")}, Value::Number(14.0745, 20, 10)},
      {"val_", {T("-2.5E-3")}, Value::Number(-0.0025, 20, 10)},
      {"val_", {T("MHz")}, Value::Number(0, 20, 10)},
      {"val_", {T("1e999")}, Value::Number(inf, 20, 10)},
  };
  for (const auto &c : cases) expectResult(c.name, c.args, c.result);
}

TEST_F(Strings, Errors) {
  const std::string invalidType =
      "Invalid type passed to TAG_VAL().  Allowable types are C, D, I, F, L";
  for (const char *type : {"c", "i", "N", "", "Z", "d"}) {
    expectError("TAG_VAL", {T("X="), T("X=1|"), T(type)}, kUserError, invalidType);
  }
  // Arguments are copied into handles of their own size; a host that cannot grow them by one
  // ends each call with its own error.
  const std::string tagged(64, 'x');
  host_.setHandleLimit(64 + 3 + 1);
  expectError("TAG_FLD", {T("AB="), T(tagged)}, kUserError, "TAG_FLD() _SetHandSize() failed!");
  expectError("TAG_VAL", {T("AB="), T(tagged)}, kNoMemory);
  host_.setHandleLimit(64 + 1);
  expectError("GET_ITEM", {T(","), T(tagged), I(1)}, kUserError,
              "GET_ITEM() _SetHandSize() failed!");
  host_.setHandleLimit(16);
  expectError("MAKE_TAG", {T("TAG="), T(std::string(40, 'v'))}, kNoMemory);
  host_.setHandleLimit(0);
  // Argument lists the type text refuses never reach the library.
  EXPECT_NE(errorOf("MAKE_TAG", {T("A=")}).number(), 0);
  EXPECT_NE(errorOf("GET_ITEM", {T(","), T("a"), T("1")}).number(), 0);
  EXPECT_NE(errorOf("TAG_VAL", {T("A="), T("A=1|"), T("C"), T("extra")}).number(), 0);
}

// A date is read as MDY whatever the setting, which is put back afterwards; a value that is not
// eight digits is the empty date and leaves the setting alone.
TEST_F(Strings, TagValDateUnderEveryDateSetting) {
  for (const char *setting :
       {"AMERICAN", "BRITISH", "ANSI", "MDY", "DMY", "YMD", "GERMAN", "JAPAN"}) {
    SCOPED_TRACE(setting);
    host_.execute(std::string("SET DATE ") + setting);
    const std::string before = host_.dateFormat();
    expectResult("TAG_VAL", {T("D="), T("A=1| D=20240229|"), T("D")}, Value::Date(2460370));
    EXPECT_EQ(host_.dateFormat(), before);
    const auto &commands = host_.executedCommands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[commands.size() - 2], "SET DATE MDY");
    EXPECT_EQ(commands.back(), "SET DATE " + before);
  }
  for (const char *value : {"2024-02-29", "2024022", "", "abcdefgh", " 20240229"}) {
    SCOPED_TRACE(value);
    const size_t commands = host_.executedCommands().size();
    expectResult("TAG_VAL", {T("D="), T("D="s + value + "|"), T("D")}, Value::Date(0));
    EXPECT_EQ(host_.executedCommands().size(), commands) << "date setting touched";
  }
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
