// What the tests of the extension libraries check around calls through a foxhost::Host: the host
// error a call raises, and that the calls left no handle behind or locked.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foxhost/host.hpp"

namespace foxhost::testing {

// The host error a call raises; number 0 when it raises none.
inline HostError errorOfCall(Host &host, const std::string &name, const std::vector<Value> &args) {
  try {
    host.call(name, args);
  } catch (const HostError &e) {
    return e;
  }
  return HostError(0, "no error");
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

}  // namespace foxhost::testing
