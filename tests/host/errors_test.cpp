// Errors raised by libraries and by the services they call: the call fails with the right host
// error, every handle is freed, and the host keeps working.
#include "host_test_support.hpp"

namespace foxhost {
namespace {

using testing::errorOf;
using testing::HostTest;

class Errors : public HostTest {};

TEST_F(Errors, HostErrorUnwindsAndFreesWorkHandles) {
  const HandleCounters before = host.handleCounters();
  std::string message;
  EXPECT_EQ(errorOf([&] { host.call("RAISE", {Value::Integer(182)}); }, &message), 182);
  EXPECT_EQ(message, "Error 182: insufficient memory");
  const HandleCounters after = host.handleCounters();
  EXPECT_EQ(after.live, before.live);
  EXPECT_EQ(after.allocated, before.allocated + 2);  // both work handles existed ...
  EXPECT_EQ(after.freed, before.freed + 2);          // ... and were freed by the unwinding
  EXPECT_EQ(errorOf([&] { host.call("RAISE", {Value::Integer(1234)}); }, &message), 1234);
  EXPECT_EQ(message, "Error 1234");
}

TEST_F(Errors, UserErrorCarriesTheLibrarysText) {
  const size_t before = live();
  std::string message;
  EXPECT_EQ(errorOf([&] { host.call("USERERR", {Value::Text("Port not found.")}); }, &message),
            1098);
  EXPECT_EQ(message, "Port not found.");
  EXPECT_EQ(live(), before);
}

TEST_F(Errors, TheHostKeepsWorkingAfterAnError) {
  EXPECT_NE(errorOf([&] { host.call("RAISE", {Value::Integer(182)}); }), 0);
  EXPECT_EQ(host.call("ECHO_C", {Value::Text("still here")}).text, "still here");
  EXPECT_NE(errorOf([&] { host.evaluate("USERERR('x') + 'never'"); }), 0);
  EXPECT_EQ(host.evaluate("RET_I()").integer, -42);
}

TEST_F(Errors, FailedServicesReachTheCallerWithTheirMessage) {
  const size_t before = live();
  std::string message;
  EXPECT_EQ(errorOf([&] { host.call("EVAL", {Value::Text("NOSUCH()")}); }, &message), 1231);
  EXPECT_EQ(message, "Function NOSUCH is not found");
  EXPECT_EQ(errorOf([&] { host.call("EVAL", {Value::Text("1 +")}); }, &message), 10);
  EXPECT_EQ(errorOf([&] { host.call("EXEC", {Value::Text("SET DATE NOWHERE")}); }, &message), 10);
  EXPECT_EQ(message, "Syntax error: unknown date setting 'NOWHERE'");
  // An error deep inside re-entrant calls comes out of the outermost one.
  EXPECT_EQ(
      errorOf([&] { host.call("EVAL", {Value::Text("EVAL([USERERR('inner')])")}); }, &message),
      1098);
  EXPECT_EQ(message, "inner");
  EXPECT_EQ(errorOf([&] { host.call("EVAL", {Value::Text("COUNTED(1, 2)")}); }, &message), 9);
  EXPECT_EQ(live(), before);
}

TEST_F(Errors, GrowingPastTheLimitRaisesOutOfMemory) {
  EXPECT_EQ(host.call("GROW", {Value::Text("abcdef"), Value::Integer(10)}).text, "abcdef|10");
  EXPECT_EQ(host.call("GROW", {Value::Text("abcdef"), Value::Integer(2)}).text, "ab|2");
  const size_t before = live();
  host.setHandleLimit(1000);
  EXPECT_EQ(errorOf([&] { host.call("GROW", {Value::Text("abc"), Value::Integer(5000)}); }), 182);
  EXPECT_EQ(live(), before);
  host.setHandleLimit(0);
  EXPECT_EQ(host.call("GROW", {Value::Text("abc"), Value::Integer(5000)}).text, "abc|5000");
}

TEST_F(Errors, NoMemoryForTheHostsOwnParameterHandles) {
  const size_t before = live();
  host.setHandleLimit(3);
  EXPECT_EQ(errorOf([&] { host.call("DESCRIBE", {Value::Text("ab"), Value::Text("cd")}); }), 182);
  EXPECT_EQ(live(), before);  // the first parameter's handle is freed too
}

TEST_F(Errors, AccountingSeesALibraryThatLeaks) {
  const size_t before = live();
  const FoxHandle leaked = static_cast<FoxHandle>(host.call("LEAK", {}).integer);
  EXPECT_EQ(live(), before + 1);
  FoxServiceArgs f{};
  f.code = FOX_HANDLE_FREE;
  f.handle = leaked;
  EXPECT_EQ(host.service(f), 0);
  EXPECT_EQ(live(), before);
}

TEST_F(Errors, EndlessRecursionIsStopped) {
  const size_t before = live();
  std::string message;
  EXPECT_EQ(errorOf([&] { host.call("REENTER", {Value::Integer(100000)}); }, &message), 11);
  EXPECT_NE(message.find("nested too deeply"), std::string::npos);
  EXPECT_EQ(live(), before);
  EXPECT_EQ(host.call("REENTER", {Value::Integer(3)}).integer, 6);
}

TEST_F(Errors, ReleasingTheRunningLibraryWaitsForItsCall) {
  host.call("EXEC", {Value::Text("SET LIBRARY TO")});
  EXPECT_FALSE(host.hasFunction("EXEC"));
  EXPECT_TRUE(host.libraries().empty());
}

}  // namespace
}  // namespace foxhost
