// A foxhost with velalib loaded through its real entry; every test checks no handle is left.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "foxhost/host.hpp"
#include "host_call_checks.hpp"

namespace velalib::testing {

using foxhost::Value;

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

  void expectResult(const std::string &name, const std::vector<Value> &args, const Value &want) {
    foxhost::testing::expectResult(host_, name, args, want);
  }

  // Calls `name` and checks the host error it raises; an empty `message` is not compared.
  void expectError(const std::string &name, const std::vector<Value> &args, int32_t number,
                   const std::string &message = "") {
    SCOPED_TRACE(foxhost::testing::callText(name, args));
    const foxhost::HostError e = errorOf(name, args);
    EXPECT_EQ(e.number(), number) << e.what();
    if (!message.empty()) {
      EXPECT_EQ(e.what(), message);
    }
  }

  foxhost::Host host_{{.virtualClock = true, .clockStepMicros = 50}};
  std::optional<foxhost::testing::HandleWatch> handles_;
};

inline Value T(std::string s) { return Value::Text(std::move(s)); }
inline Value I(int32_t i, int16_t width = 10) { return Value::Integer(i, width); }
inline Value N(double d) { return Value::Number(d); }

}  // namespace velalib::testing
