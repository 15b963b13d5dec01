// A foxhost with velalib loaded through its real entry, for the table-driven tests of the
// host-callable functions. Every test checks that no handle was left behind.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foxhost/host.hpp"

namespace velalib::testing {

using foxhost::Value;

inline foxhost::Host::Options hostOptions() {
  foxhost::Host::Options options;
  options.virtualClock = true;
  options.clockStepMicros = 50;
  return options;
}

class VelalibHost : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.loadLibrary(VELALIB_PATH);
    live_ = host_.handleCounters().live;
  }

  void TearDown() override {
    const foxhost::HandleCounters counters = host_.handleCounters();
    EXPECT_EQ(counters.live, live_) << "a call left a handle behind";
    EXPECT_EQ(counters.locked, 0u) << "a call left a handle locked";
  }

  Value call(const std::string &name, const std::vector<Value> &args = {}) {
    return host_.call(name, args);
  }

  // The text of a character result; fails the test for any other type.
  std::string text(const std::string &name, const std::vector<Value> &args) {
    const Value v = call(name, args);
    EXPECT_EQ(v.type, 'C') << name;
    return v.text;
  }

  // The host error a call raises; number 0 when it raises none.
  foxhost::HostError errorOf(const std::string &name, const std::vector<Value> &args) {
    try {
      call(name, args);
    } catch (const foxhost::HostError &e) {
      return e;
    }
    return foxhost::HostError(0, "no error");
  }

  foxhost::Host host_{hostOptions()};
  size_t live_ = 0;
};

inline Value T(std::string s) { return Value::Text(std::move(s)); }
inline Value I(int32_t i) { return Value::Integer(i); }
inline Value N(double d) { return Value::Number(d); }

}  // namespace velalib::testing
