// What the tests of the host and its libraries check around calls through a foxhost::Host: the
// value a call gives, the host error it raises, and that calls left no handle behind or locked.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "foxhost/host.hpp"

namespace foxhost::testing {

// The host error `f` raises; number 0 when it raises none.
template <typename F>
HostError errorOf(F &&f) {
  try {
    f();
  } catch (const HostError &e) {
    return e;
  }
  return HostError(0, "no error");
}

inline HostError errorOfCall(Host &host, const std::string &name, const std::vector<Value> &args) {
  return errorOf([&] { host.call(name, args); });
}

// "NAME(arg, ...)" as `?` would show the arguments, to say which call a failure is about.
inline std::string callText(const std::string &name, const std::vector<Value> &args) {
  std::string out = name + "(";
  for (const Value &a : args) out += (out.back() == '(' ? "" : ", ") + a.display();
  return out + ")";
}

// The type and the fields a value of type `t` uses, as text.
inline std::string usedFields(char t, const Value &x) {
  std::ostringstream s;
  s << x.type << ' ';
  if (t == 'C') s << x.text;
  if (t == 'L') s << x.logical;
  if (t == 'O') s << x.object;
  if (t == 'I') s << x.integer;
  if (t == 'I' || t == 'N') s << " width " << x.width;
  if (t == 'N') s << " decimals " << x.decimals;
  return s.str();
}

// Calls `name` and checks the result's type and the fields that type uses; NaN matches NaN.
inline void expectResult(Host &host, const std::string &name, const std::vector<Value> &args,
                         const Value &want) {
  SCOPED_TRACE(callText(name, args));
  const Value v = host.call(name, args);
  EXPECT_EQ(usedFields(want.type, v), usedFields(want.type, want));
  if ((want.type == 'N' || want.type == 'D') &&
      !(std::isnan(want.number) && std::isnan(v.number))) {
    EXPECT_DOUBLE_EQ(v.number, want.number);
  }
}

// Counts the live handles when made; expectNoneLeft() fails the test if calls since left one.
class HandleWatch {
 public:
  explicit HandleWatch(Host &host) : host_(host), live_(host.handleCounters().live) {}
  void expectNoneLeft() const {
    const HandleCounters counters = host_.handleCounters();
    EXPECT_EQ(counters.live, live_) << "a call left a handle behind";
    EXPECT_EQ(counters.locked, 0u) << "a call left a handle locked";
  }

 private:
  Host &host_;
  size_t live_;
};

#ifdef FOXTEST_LIB_DIR
inline std::string libraryPath(const std::string &name) {
  return std::string(FOXTEST_LIB_DIR) + "/" + name + ".so";
}

// A host with the test library loaded on a virtual clock; every test ends with no handle left.
class HostTest : public ::testing::Test {
 protected:
  static Host::Options options() {
    Host::Options o;
    o.virtualClock = true;
    o.clockStepMicros = 100;
    return o;
  }
  HostTest() : host(options()) {
    host.loadLibrary(libraryPath("foxtestlib"));
    watch.emplace(host);
  }
  void TearDown() override { watch->expectNoneLeft(); }
  int32_t errorNumber(const std::string &name, const std::vector<Value> &args) {
    return errorOfCall(host, name, args).number();
  }

  Host host;
  std::optional<HandleWatch> watch;
};
#endif

}  // namespace foxhost::testing
