// Values into parameter blocks and results back, for every type, through the test library's
// dispatch entry.
#include "host_call_checks.hpp"
#include "host_test_support.hpp"

namespace foxhost {
namespace {

using testing::errorOf;
using testing::HostTest;

class Marshalling : public HostTest {};

TEST_F(Marshalling, ValueRecordsHoldEveryField) {
  const Value v =
      host.call("DESCRIBE", {Value::Text("hi"), Value::Integer(42, 6), Value::Number(1.5, 8, 3),
                             Value::Logical(true), Value::Date(2451545)});
  EXPECT_EQ(v.text, "5|C len=2 h=yes text=hi|I w=6 42|N w=8 d=3 1.500000|L 1|D 2451545.0");
  EXPECT_EQ(host.call("DESCRIBE", {Value::Logical(false), Value::Object(9)}).text, "2|L 0|O 9");
  EXPECT_EQ(host.call("DESCRIBE", {}).text, "0");
}

TEST_F(Marshalling, LanguageValuesArriveAsTheirTypes) {
  EXPECT_EQ(host.evaluate("DESCRIBE(1.25, 'x', {^2000-01-02})").text,
            "3|N w=13 d=2 1.250000|C len=1 h=yes text=x|D 2451546.0");
  host.execute("o = CREATEOBJECT('textbox')");
  const uint32_t id = host.variable("o").object;
  EXPECT_EQ(host.evaluate("DESCRIBE(o)").text, "1|O " + std::to_string(id));
}

TEST_F(Marshalling, EveryTypeEchoesBack) {
  const std::string withNul("a\0b\xff", 4);
  const Value values[] = {Value::Text(withNul),       Value::Text(""),      Value::Integer(-7, 4),
                          Value::Number(-2.25, 9, 2), Value::Logical(true), Value::Logical(false),
                          Value::Date(2460437),       Value::Object(12)};
  for (const Value &in : values) {
    const Value out = host.call("ECHO", {in});
    EXPECT_EQ(out.type, in.type);
    EXPECT_EQ(out.text, in.text);
    EXPECT_EQ(out.integer, in.integer);
    EXPECT_DOUBLE_EQ(out.number, in.number);
    EXPECT_EQ(out.logical, in.logical);
    EXPECT_EQ(out.object, in.object);
    if (in.type == 'I' || in.type == 'N') {
      EXPECT_EQ(out.width, in.width);
    }
    if (in.type == 'N') {
      EXPECT_EQ(out.decimals, in.decimals);
    }
  }
}

// Typed parameters convert numbers (truncated to an integer, widened to a number); results of
// every type come back with their widths and decimals, and the last result a call sets stands.
TEST_F(Marshalling, TypedParametersAndResultsOfEveryType) {
  const struct {
    const char *name;
    std::vector<Value> args;
    Value result;
  } cases[] = {
      {"ECHO_I", {Value::Number(7.9, 10, 1)}, Value::Integer(7, 10)},
      {"ECHO_N", {Value::Integer(5, 3)}, Value::Number(5, 3, 0)},
      {"ECHO_C", {Value::Text("t")}, Value::Text("t")},
      {"ECHO_L", {Value::Logical(true)}, Value::Logical(true)},
      {"ECHO_D", {Value::Date(2451545)}, Value::Date(2451545)},
      {"ECHO_O", {Value::Object(4)}, Value::Object(4)},
      {"RET_I", {}, Value::Integer(-42, 6)},
      {"RET_N", {}, Value::Number(3.14159, 12, 4)},
      {"RET_L", {}, Value::Logical(true)},
      {"RET_D", {}, Value::Date(2451545)},
      {"RET_TEXT", {}, Value::Text(std::string("a\0b", 3))},
      {"RET_NOTHING", {}, Value{}},
      {"RET_TWICE", {}, Value::Integer(2, 10)},
  };
  for (const auto &c : cases) testing::expectResult(host, c.name, c.args, c.result);
  EXPECT_EQ(host.call("RET_N", {}).display(), "      3.1416");
}

TEST_F(Marshalling, DateTextIsReadUnderTheDateSetting) {
  EXPECT_EQ(host.call("RET_DATETEXT", {Value::Text("01/02/2003")}).number, 2452642);  // 2 Jan
  host.execute("SET DATE BRITISH");
  EXPECT_EQ(host.call("RET_DATETEXT", {Value::Text("01/02/2003")}).number, 2452672);  // 1 Feb
  host.execute("SET DATE MDY");
  EXPECT_EQ(host.call("RET_DATETEXT", {Value::Text("12/31/1999")}).number, 2451544);
  const Value bad = host.call("RET_DATETEXT", {Value::Text("31/12/1999")});
  EXPECT_EQ(bad.type, 'D');
  EXPECT_EQ(bad.number, 0);  // not a day: the empty date
}

TEST_F(Marshalling, EveryCallLeavesNoHandle) {
  const size_t before = live();
  const uint64_t allocated = host.handleCounters().allocated;
  host.call("DESCRIBE", {Value::Text("a"), Value::Text("b"), Value::Text("")});
  host.call("RET_TEXT", {});
  host.call("RET_TWICE", {});
  host.call("GROW_PARAM", {Value::Text("resized by the library")});
  host.evaluate("ECHO_C('x') + ECHO_C('y')");
  EXPECT_EQ(live(), before);
  EXPECT_GT(host.handleCounters().allocated, allocated + 6);
  EXPECT_EQ(host.handleCounters().locked, 0u);
}

TEST_F(Marshalling, GrowingTheParameterHandleKeepsItsText) {
  EXPECT_EQ(host.call("GROW_PARAM", {Value::Text("hello")}).text, "hello");
  EXPECT_EQ(host.call("GROW_PARAM", {Value::Text("")}).text, "");
}

TEST_F(Marshalling, TypeTextIsCheckedBeforeTheEntry) {
  const int32_t before = host.call("CALLCOUNT", {}).integer;
  EXPECT_EQ(host.call("COUNTED", {Value::Text("a"), Value::Integer(1)}).integer, before + 1);
  EXPECT_EQ(
      host.call("COUNTED", {Value::Text("a"), Value::Number(2), Value::Logical(true)}).integer,
      before + 2);
  std::string message;
  EXPECT_EQ(errorOf(
                [&] {
                  host.call("COUNTED", {Value::Integer(1), Value::Text("a")});
                },
                &message),
            9);
  EXPECT_EQ(message, "Argument 1 of COUNTED must be character, not integer");
  EXPECT_EQ(errorOf([&] { host.call("COUNTED", {Value::Text("a")}); }), 1229);
  EXPECT_EQ(errorOf([&] {
              host.call("COUNTED", {Value::Text("a"), Value::Integer(1), Value::Logical(true),
                                    Value::Integer(0)});
            }),
            1230);
  EXPECT_EQ(errorOf([&] { host.evaluate("COUNTED('a', 1, 'not logical')"); }), 9);
  EXPECT_EQ(host.call("CALLCOUNT", {}).integer, before + 2);  // refused calls never ran
  EXPECT_EQ(host.call("MIXED", {Value::Object(1), Value::Text("n"), Value::Date(1)}).integer, 3);
  EXPECT_EQ(errorOf([&] {
              host.call("MIXED", {Value::Text("n"), Value::Text("n"), Value::Date(1)});
            }),
            9);
  EXPECT_EQ(host.call("ARGCOUNT", {Value::Text("x")}).integer, 1);
  EXPECT_EQ(host.call("ARGCOUNT", {Value::Text("x"), Value::Integer(1), Value::Integer(2)}).integer,
            3);
}

TEST_F(Marshalling, NamesAreCaseBlind) {
  EXPECT_TRUE(host.hasFunction("echo_c"));
  EXPECT_EQ(host.call("Echo_C", {Value::Text("q")}).text, "q");
  EXPECT_EQ(host.evaluate("echo_c('r')").text, "r");
  EXPECT_EQ(errorOf([&] { host.call("NOSUCH", {}); }), 1231);
}

}  // namespace
}  // namespace foxhost
