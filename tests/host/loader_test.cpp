// Loading libraries: broken ones are refused with a clear error, load routines run, and
// SET LIBRARY keeps or releases what was loaded before.
#include "host_test_support.hpp"

namespace foxhost {
namespace {

using testing::errorOf;
using testing::libraryPath;

std::string loadError(Host &host, const std::string &path, int32_t *number = nullptr) {
  std::string message;
  const int32_t n = errorOf([&] { host.loadLibrary(path); }, &message);
  if (number) *number = n;
  return message;
}

TEST(Loader, MissingFile) {
  Host host;
  int32_t number = 0;
  const std::string path = std::string(FOXTEST_LIB_DIR) + "/no_such_library.so";
  EXPECT_EQ(loadError(host, path, &number), "Library file " + path + " does not exist");
  EXPECT_EQ(number, 1);
  EXPECT_EQ(loadError(host, FOXTEST_LIB_DIR, &number).find("does not exist") != std::string::npos,
            true);
}

// Broken libraries are refused with the host error and a message that says what is wrong.
TEST(Loader, BrokenLibraries) {
  const struct {
    const char *library;
    int32_t number;
    const char *message;
  } cases[] = {{"not_a_library", 1753, "is not a loadable library"},
               {"foxbroken_no_entry", 1753, "has no DispatchAPI entry"},
               {"foxbroken_start_up", 1753, "failed to start (status 7)"},
               {"foxbroken_table", 1753, "function BAD: invalid type letter 'X'"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.library);
    Host host;
    int32_t number = 0;
    const std::string message = loadError(host, libraryPath(c.library), &number);
    EXPECT_EQ(number, c.number);
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
    EXPECT_TRUE(host.libraries().empty());
    EXPECT_FALSE(host.hasFunction("GOOD"));
  }
}

TEST(Loader, FailingLoadRoutineRefusesTheLibrary) {
  Host host;
  int32_t number = 0;
  EXPECT_EQ(loadError(host, libraryPath("foxbroken_on_load"), &number), "cannot start: no device");
  EXPECT_EQ(number, 1098);
  EXPECT_FALSE(host.hasFunction("HELLO"));
  EXPECT_TRUE(host.libraries().empty());
  EXPECT_EQ(host.handleCounters().live, 0u);
}

TEST(Loader, LoadRoutineRunsOnceAndIsNotCallable) {
  Host host;
  host.loadLibrary(libraryPath("foxtestlib"));
  EXPECT_TRUE(host.variable("TESTLIB_LOADED").logical);
  EXPECT_FALSE(host.hasFunction("ONLOAD"));
  const int32_t count = host.call("LOADCOUNT", {}).integer;
  host.setVariable("TESTLIB_LOADED", Value::Logical(false));
  host.loadLibrary(libraryPath("foxtestlib"), true);  // already loaded: nothing happens
  EXPECT_FALSE(host.variable("TESTLIB_LOADED").logical);
  EXPECT_EQ(host.call("LOADCOUNT", {}).integer, count);
  EXPECT_EQ(host.libraries().size(), 1u);
}

TEST(Loader, SetLibraryWithoutAdditiveReleasesTheOthers) {
  Host host;
  host.execute("SET LIBRARY TO " + libraryPath("foxtestlib"));
  host.execute("SET LIBRARY TO '" + libraryPath("foxsecondlib") + "' ADDITIVE");
  EXPECT_TRUE(host.hasFunction("ECHO_C"));
  EXPECT_TRUE(host.hasFunction("SECOND_HELLO"));
  EXPECT_EQ(host.evaluate("SET('LIBRARY')").text, host.libraries()[0] + "," + host.libraries()[1]);
  // A library that fails to load leaves the loaded ones in place.
  EXPECT_NE(errorOf([&] { host.execute("SET LIBRARY TO " + libraryPath("foxbroken_start_up")); }),
            0);
  EXPECT_EQ(host.libraries().size(), 2u);
  // The file name without ".so" is found too.
  host.execute("SET LIBRARY TO " + std::string(FOXTEST_LIB_DIR) + "/foxsecondlib");
  EXPECT_FALSE(host.hasFunction("ECHO_C"));
  EXPECT_EQ(host.evaluate("SECOND_HELLO()").text, "second");
  host.execute("SET LIBRARY TO");
  EXPECT_TRUE(host.libraries().empty());
  EXPECT_EQ(errorOf([&] { host.evaluate("SECOND_HELLO()"); }), 1231);
}

TEST(Loader, ALibraryBelongsToOneHostAtATime) {
  auto first = std::make_unique<Host>();
  first->loadLibrary(libraryPath("foxtestlib"));
  Host second;
  int32_t number = 0;
  const std::string message = loadError(second, libraryPath("foxtestlib"), &number);
  EXPECT_EQ(number, 1754);
  EXPECT_NE(message.find("in use by another host"), std::string::npos);
  first.reset();
  second.loadLibrary(libraryPath("foxtestlib"));
  EXPECT_EQ(second.call("ECHO_C", {Value::Text("mine")}).text, "mine");
}

TEST(Loader, VirtualClockIsHandedToTheLibrary) {
  Host::Options options;
  options.virtualClock = true;
  options.clockStepMicros = 1000;
  Host host(options);
  host.loadLibrary(libraryPath("foxtestlib"));
  host.virtualClock()->nowMicros = 7000000;
  EXPECT_EQ(host.call("CLOCKMS", {}).number, 7001);
  EXPECT_EQ(host.nowMillis(), 7001u);
}

}  // namespace
}  // namespace foxhost
