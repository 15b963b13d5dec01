// Helpers shared by the tests that drive a foxhost::Host.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "foxhost/host.hpp"

namespace foxhost::testing {

inline std::string libraryPath(const std::string &name) {
  return std::string(FOXTEST_LIB_DIR) + "/" + name + ".so";
}

// The number of the host error `f` throws, or 0 when it throws none.
template <typename F>
int32_t errorOf(F &&f, std::string *message = nullptr) {
  try {
    f();
  } catch (const HostError &e) {
    if (message) *message = e.what();
    return e.number();
  }
  return 0;
}

// A host with the test library loaded and a virtual clock.
class HostTest : public ::testing::Test {
 protected:
  static Host::Options options() {
    Host::Options o;
    o.virtualClock = true;
    o.clockStepMicros = 100;
    return o;
  }
  HostTest() : host(options()) { host.loadLibrary(libraryPath("foxtestlib")); }

  size_t live() const { return host.handleCounters().live; }

  Host host;
};

}  // namespace foxhost::testing
