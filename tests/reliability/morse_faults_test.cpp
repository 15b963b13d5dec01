// The Morse library under abuse through foxhost: huge texts, a full type-ahead ring, absurd
// speeds, hosts that cannot grow a handle. Every call returns or raises a host error, leaves the
// key up and leaves no handle behind.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "library_fixture.hpp"

namespace morse {
namespace {

using foxhost::Value;

class MorseFaults : public test::LibraryFixture {
 protected:
  void SetUp() override {
    LibraryFixture::SetUp();
    handles_.emplace(host());  // before the objects a test makes: those hold no handle
  }
  void expectKeyUpAndNoHandleLeft() {
    if (const auto e = events(); !e.empty()) {
      EXPECT_EQ(e.back().value, 0x09) << "the key was left down";
    }
    handles_->expectNoneLeft();
  }
  int32_t errorOf(const std::string &name, const std::vector<Value> &args) {
    return foxhost::testing::errorOfCall(host(), name, args).number();
  }

  std::optional<foxhost::testing::HandleWatch> handles_;
};

// A megabyte of characters outside the keyed range takes no air time; sent whole, and paused
// (Home while A is keyed) and resumed.
TEST_F(MorseFaults, MegabyteTexts) {
  for (const bool pause : {false, true}) {
    SCOPED_TRACE(pause ? "paused and resumed" : "sent whole");
    call("CW_WPM", {Value::Integer(60)});
    const std::string text = "CQ " + std::string(1 << 20, pause ? '|' : '~') + " K";
    const Value sent = textbox();
    if (pause) host().queueKey(1, msNow() + 1);
    EXPECT_EQ(call("CW_SEND", {Value::Text(text), sent}).integer, pause ? 2 : 0);
    EXPECT_EQ(call("CW_PAUSED").logical, pause);
    if (pause) {
      EXPECT_EQ(call("CW_SEND", {Value::Integer(0), sent}).integer, 0);
    }
    EXPECT_EQ(valueOf(sent), "CQ  K");
    expectKeyUpAndNoHandleLeft();
    EXPECT_EQ(soundedText(), "CQ K");
    load();
    handles_.emplace(host());
  }
}

TEST_F(MorseFaults, ThreeHundredKeysTypedAhead) {
  // The typing outruns the keying: the ring fills and refuses keys rather than wrap to empty.
  call("CW_WPM", {Value::Integer(30)});
  const Value typing = textbox();
  const Value sent = textbox();
  for (int i = 0; i < 300; ++i) host().queueKey('e', msNow());
  host().queueKey(6, msNow() + 300 * 160 + 1000);  // End, after everything is keyed
  EXPECT_FALSE(call("CW_KBD", {typing, sent}).logical);
  const std::string typed = valueOf(typing);
  EXPECT_GE(typed.size(), 255u);
  EXPECT_LT(typed.size(), 300u);
  EXPECT_EQ(typed, std::string(typed.size(), 'E'));
  EXPECT_EQ(valueOf(sent), typed);  // what was accepted was sent, nothing more, nothing less
  EXPECT_EQ(test::roundedMs(keying(), true).size(), typed.size());
  expectKeyUpAndNoHandleLeft();
}

TEST_F(MorseFaults, AbsurdSpeedsAndWeightsKeyAndReturn) {
  // Minute-long elements: no sidetone recording (read when the ports open), only the event log.
  unsetenv("MORSE_SIM_WAV");
  for (int wpm : {0, -1, -32768, 100000}) {
    call("CW_WPM", {Value::Integer(wpm)});
    for (const char *setting : {"CW_WEIGHT", "CW_FARNSWORTH", "CW_SPEEDADJ"}) {
      for (int value : {-1000, 1000}) {
        call(setting, {Value::Integer(value)});
        EXPECT_EQ(call("CW_SEND", {Value::Text("E")}).integer, 0)
            << "WPM " << wpm << ", " << setting << " " << value;
        call(setting, {Value::Integer(0)});
      }
    }
  }
  expectKeyUpAndNoHandleLeft();
}

TEST_F(MorseFaults, HandleGrowthFailuresRaise182AndLeaveNothing) {
  const std::string text = "CQ TEST";
  const Value sent = textbox();
  // Room for the text and a growing part of the echo: it fails at each character, then not.
  int failures = 0;
  for (size_t room = 0; room <= text.size() + 1; ++room) {
    host().setProperty(sent.object, "VALUE", Value::Text(""));
    host().setHandleLimit(text.size() + room);
    if (const int32_t error = errorOf("CW_SEND", {Value::Text(text), sent}); error != 0) {
      EXPECT_EQ(error, 182);
      ++failures;
    }
    expectKeyUpAndNoHandleLeft();
  }
  EXPECT_GT(failures, 0);
  host().setHandleLimit(0);
  host().setProperty(sent.object, "VALUE", Value::Text(""));
  EXPECT_EQ(call("CW_SEND", {Value::Text(text), sent}).integer, 0);
  EXPECT_EQ(valueOf(sent), text);
  handles_->expectNoneLeft();
}

TEST_F(MorseFaults, UserErrorsLeaveNoHandle) {
  // Resume while not paused: the message and 0.
  EXPECT_EQ(call("CW_SEND", {Value::Logical(true)}).integer, 0);
  // Arguments the type text refuses never reach the library.
  EXPECT_NE(errorOf("CW_KBD", {Value::Text("x"), Value::Text("y")}), 0);
  EXPECT_NE(errorOf("CW_SEND", {}), 0);
  EXPECT_NE(errorOf("CW_SEND", {Value::Text("E"), Value::Text("not an object")}), 0);
  EXPECT_TRUE(events().empty());
  handles_->expectNoneLeft();
}

}  // namespace
}  // namespace morse
