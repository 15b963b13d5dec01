// Loading libraries: broken ones are refused with a clear error, load routines run once, and
// SET LIBRARY keeps or releases what was loaded before.
#include "host_call_checks.hpp"

namespace foxhost {
namespace {

using testing::errorOf;
using testing::libraryPath;

// Each is refused with the host error and a message that says what is wrong, leaving nothing.
TEST(Loader, BrokenOrMissingLibrariesAreRefused) {
  const std::string missing = std::string(FOXTEST_LIB_DIR) + "/no_such_library.so";
  const struct {
    std::string path;
    int32_t number;
    std::string message;
  } cases[] = {
      {missing, 1, "Library file " + missing + " does not exist"},
      {FOXTEST_LIB_DIR, 1, "does not exist"},
      {libraryPath("not_a_library"), 1753, "is not a loadable library"},
      {libraryPath("foxbroken_no_entry"), 1753, "has no DispatchAPI entry"},
      {libraryPath("foxbroken_start_up"), 1753, "failed to start (status 7)"},
      {libraryPath("foxbroken_table"), 1753, "function BAD: invalid type letter 'X'"},
      {libraryPath("foxbroken_on_load"), 1098, "cannot start: no device"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.path);
    Host host;
    const HostError e = errorOf([&] { host.loadLibrary(c.path); });
    EXPECT_EQ(e.number(), c.number);
    EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    EXPECT_TRUE(host.libraries().empty());
    EXPECT_FALSE(host.hasFunction("GOOD") || host.hasFunction("HELLO"));
    EXPECT_EQ(host.handleCounters().live, 0u);
  }
}

// The load routine runs once (it executes one command) and is not callable; a library belongs to
// one host at a time; SET LIBRARY without ADDITIVE releases the others, and a library that fails
// to load leaves the loaded ones in place; a library may release itself during its own call.
TEST(Loader, LoadRoutinesAndSetLibrary) {
  Host host, other;
  host.execute("SET LIBRARY TO " + libraryPath("foxtestlib"));
  host.loadLibrary(libraryPath("foxtestlib"), true);  // already loaded: nothing happens
  EXPECT_EQ(host.executedCommands(), std::vector<std::string>{"TESTLIB_LOADED = .T."});
  EXPECT_FALSE(host.hasFunction("ONLOAD"));
  EXPECT_EQ(errorOf([&] { other.loadLibrary(libraryPath("foxtestlib")); }).number(), 1754);
  host.execute("SET LIBRARY TO '" + libraryPath("foxsecondlib") + "' ADDITIVE");
  EXPECT_EQ(host.evaluate("SET('LIBRARY')").text, host.libraries()[0] + "," + host.libraries()[1]);
  EXPECT_NE(errorOf([&] {
              host.execute("SET LIBRARY TO " + libraryPath("foxbroken_start_up"));
            }).number(),
            0);
  EXPECT_EQ(host.libraries().size(), 2u);
  host.execute("SET LIBRARY TO " + std::string(FOXTEST_LIB_DIR) + "/foxsecondlib");  // no ".so"
  EXPECT_FALSE(host.hasFunction("ECHO_C"));
  EXPECT_EQ(host.evaluate("SECOND_HELLO()").text, "second");
  host.execute("SET LIBRARY TO");
  EXPECT_TRUE(host.libraries().empty());
  EXPECT_EQ(errorOf([&] { host.evaluate("SECOND_HELLO()"); }).number(), 1231);
  other.loadLibrary(libraryPath("foxtestlib"));
  other.call("EXEC", {Value::Text("SET LIBRARY TO")});
  EXPECT_TRUE(other.libraries().empty());
}

}  // namespace
}  // namespace foxhost
