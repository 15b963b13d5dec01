// A foxhost with velalib loaded through its real entry, for the table-driven tests of the
// host-callable functions. Every test checks that no handle was left behind.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "foxhost/host.hpp"
#include "host_call_checks.hpp"

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
    handles_.emplace(host_);
  }
  void TearDown() override {
    if (handles_) handles_->expectNoneLeft();
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

  foxhost::HostError errorOf(const std::string &name, const std::vector<Value> &args) {
    return foxhost::testing::errorOfCall(host_, name, args);
  }

  static std::string callText(const std::string &name, const std::vector<Value> &args) {
    std::string out = name + "(";
    for (const Value &a : args) out += (out.back() == '(' ? "" : ", ") + a.display();
    return out + ")";
  }

  // Calls `name` and checks the result's type and the fields that type uses; NaN matches NaN.
  void expectResult(const std::string &name, const std::vector<Value> &args, const Value &want) {
    SCOPED_TRACE(callText(name, args));
    const Value v = call(name, args);
    EXPECT_EQ(v.type, want.type);
    switch (want.type) {
      case 'C':
        EXPECT_EQ(v.text, want.text);
        break;
      case 'L':
        EXPECT_EQ(v.logical, want.logical);
        break;
      case 'I':
        EXPECT_EQ(v.integer, want.integer);
        EXPECT_EQ(v.width, want.width);
        break;
      case 'N':
        EXPECT_EQ(v.width, want.width);
        EXPECT_EQ(v.decimals, want.decimals);
        [[fallthrough]];
      case 'D':
        if (std::isnan(want.number)) {
          EXPECT_TRUE(std::isnan(v.number)) << v.number;
        } else {
          EXPECT_DOUBLE_EQ(v.number, want.number);
        }
        break;
    }
  }

  // Calls `name` and checks the host error it raises; an empty `message` is not compared.
  void expectError(const std::string &name, const std::vector<Value> &args, int32_t number,
                   const std::string &message = "") {
    SCOPED_TRACE(callText(name, args));
    const foxhost::HostError e = errorOf(name, args);
    EXPECT_EQ(e.number(), number) << e.what();
    if (!message.empty()) {
      EXPECT_EQ(e.what(), message);
    }
  }

  foxhost::Host host_{hostOptions()};
  std::optional<foxhost::testing::HandleWatch> handles_;
};

inline Value T(std::string s) { return Value::Text(std::move(s)); }
inline Value I(int32_t i, int16_t width = 10) { return Value::Integer(i, width); }
inline Value N(double d) { return Value::Number(d); }

}  // namespace velalib::testing
