// Values into parameter blocks and results back, the type text checked before the entry, and
// errors raised by libraries, through the test library's dispatch entry.
#include "host_call_checks.hpp"

namespace foxhost {
namespace {

using testing::errorOf;

class Marshalling : public testing::HostTest {};

// Values of every type go into a parameter record and back whole; typed parameters convert
// numbers (truncated to an integer, widened to a number); results of every type come back with
// their widths and decimals, and the last result a call sets stands.
TEST_F(Marshalling, ParametersAndResultsOfEveryType) {
  for (const Value &in : {Value::Text(std::string("a\0b\xff", 4)), Value::Text(""),
                          Value::Integer(-7, 4), Value::Number(-2.25, 9, 2), Value::Logical(false),
                          Value::Date(2460437), Value::Object(12)}) {
    testing::expectResult(host, "ECHO", {in}, in);
  }
  const struct {
    const char *name;
    std::vector<Value> args;
    Value result;
  } cases[] = {
      {"ECHO_I", {Value::Number(-7.9, 10, 1)}, Value::Integer(-7, 10)},  // toward zero
      {"ECHO_N", {Value::Integer(5, 3)}, Value::Number(5, 3, 0)},
      {"RET_NOTHING", {}, Value{}},
      {"RET_TWICE", {}, Value::Integer(2, 10)},
      {"RET_DATETEXT", {Value::Text("12/31/1999")}, Value::Date(2451544)},
      {"RET_DATETEXT", {Value::Text("31/12/1999")}, Value::Date(0)},  // not a day
      {"ARGCOUNT", {Value::Text("x"), Value::Integer(1), Value::Integer(2)}, Value::Integer(3)},
      {"Echo_C", {Value::Text("q")}, Value::Text("q")},  // names are case-blind
  };
  for (const auto &c : cases) testing::expectResult(host, c.name, c.args, c.result);
  host.execute("SET DATE BRITISH");  // a library's date text is read under the setting
  EXPECT_EQ(host.call("RET_DATETEXT", {Value::Text("01/02/2003")}).number, 2452672);
}

// A library's error or a failed service fails the call with its number and message, every
// handle is freed (the fixture checks), and the host keeps working. A call its type text refuses
// never reaches the entry: COUNTED counts the calls that did.
TEST_F(Marshalling, ErrorsFromLibrariesAndServices) {
  const uint64_t freed = host.handleCounters().freed;
  const std::vector<Value> counted{Value::Text("a"), Value::Integer(2)};
  const int32_t calls = host.call("COUNTED", counted).integer;
  const struct {
    const char *name;
    const char *argument;
    int32_t error;
    const char *message;
  } cases[] = {
      {"RAISE", nullptr, 182, "Error 182: insufficient memory"},
      {"RAISE", nullptr, 1234, "Error 1234"},
      {"USERERR", "Port not found.", 1098, "Port not found."},
      {"EVAL", "NOSUCH()", 1231, "Function NOSUCH is not found"},
      {"EXEC", "SET DATE NOWHERE", 10, "Syntax error: unknown date setting 'NOWHERE'"},
      {"EVAL", "EVAL([USERERR('inner')])", 1098, "inner"},  // from deep inside re-entrant calls
      {"EVAL", "COUNTED(1, 2)", 9, "Argument 1 of COUNTED must be character, not number"},
  };
  for (const auto &c : cases) {
    const std::vector<Value> args{c.argument ? Value::Text(c.argument) : Value::Integer(c.error)};
    const HostError e = testing::errorOfCall(host, c.name, args);
    EXPECT_EQ(e.number(), c.error) << c.name;
    EXPECT_EQ(e.what(), std::string(c.message)) << c.name;
  }
  EXPECT_GE(host.handleCounters().freed, freed + 2);  // RAISE's two work handles, unwound
  EXPECT_EQ(host.call("COUNTED", counted).integer, calls + 1);
  EXPECT_EQ(host.evaluate("RET_I()").integer, -42);
  const std::string deep = errorOf([&] { host.call("REENTER", {Value::Integer(100000)}); }).what();
  EXPECT_NE(deep.find("nested too deeply"), std::string::npos) << deep;
}

// The limit counts the host's own parameter handles too; 0 lifts it; a library that leaks a
// handle is seen by the accounting.
TEST_F(Marshalling, TheHandleLimitRaisesOutOfMemoryAndLeaksAreCounted) {
  EXPECT_EQ(host.call("GROW", {Value::Text("abcdef"), Value::Integer(2)}).text, "ab|2");
  host.setHandleLimit(1000);
  EXPECT_EQ(errorNumber("GROW", {Value::Text("abc"), Value::Integer(5000)}), 182);
  host.setHandleLimit(3);  // no room for the parameter's own handle
  EXPECT_EQ(errorNumber("ECHO_C", {Value::Text("abcd")}), 182);
  host.setHandleLimit(0);
  EXPECT_EQ(host.call("GROW", {Value::Text("abc"), Value::Integer(5000)}).text, "abc|5000");
  const size_t before = host.handleCounters().live;
  FoxServiceArgs f{};
  f.code = FOX_HANDLE_FREE;
  f.handle = static_cast<FoxHandle>(host.call("LEAK", {}).integer);
  EXPECT_EQ(host.handleCounters().live, before + 1);
  EXPECT_EQ(host.service(f), 0);
}

}  // namespace
}  // namespace foxhost
