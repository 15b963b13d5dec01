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
    handles.emplace(host());  // before the objects a test makes: those hold no handle
  }
  void TearDown() override {
    if (const auto e = events(); !e.empty()) {
      EXPECT_EQ(e.back().value, 0x09) << "the key was left down";
    }
    if (handles) handles->expectNoneLeft();
    LibraryFixture::TearDown();
  }
  int32_t errorOf(const std::string &name, const std::vector<Value> &args) {
    return foxhost::testing::errorOfCall(host(), name, args).number();
  }

  std::optional<foxhost::testing::HandleWatch> handles;
};

// A megabyte of characters outside the keyed range takes no air time; sent whole, and paused
// (Home while A is keyed) and resumed.
TEST_F(MorseFaults, MegabyteTexts) {
  for (const bool pause : {false, true}) {
    SCOPED_TRACE(pause ? "paused and resumed" : "sent whole");
    call("CW_WPM", {Value::Integer(60)});
    const Value sent = textbox();
    if (pause) host().queueKey(1, msNow() + 1);
    const std::string text = "CQ " + std::string(1 << 20, pause ? '|' : '~') + " K";
    EXPECT_EQ(call("CW_SEND", {Value::Text(text), sent}).integer, pause ? 2 : 0);
    EXPECT_EQ(call("CW_PAUSED").logical, pause);
    if (pause) {
      EXPECT_EQ(call("CW_SEND", {Value::Integer(0), sent}).integer, 0);
    }
    EXPECT_EQ(valueOf(sent), "CQ  K");
    handles->expectNoneLeft();
    EXPECT_EQ(soundedText(), "CQ K");
    load();
    handles.emplace(host());
  }
}

// The typing outruns the keying: the ring fills and refuses keys rather than wrap to empty.
TEST_F(MorseFaults, ThreeHundredKeysTypedAhead) {
  call("CW_WPM", {Value::Integer(30)});
  const Value typing = textbox(), sent = textbox();
  for (int i = 0; i < 300; ++i) host().queueKey('e', msNow());
  host().queueKey(6, msNow() + 300 * 160 + 1000);  // End, after everything is keyed
  EXPECT_FALSE(call("CW_KBD", {typing, sent}).logical);
  const std::string typed = valueOf(typing);
  EXPECT_GE(typed.size(), 255u);
  EXPECT_LT(typed.size(), 300u);
  EXPECT_EQ(typed, std::string(typed.size(), 'E'));
  EXPECT_EQ(valueOf(sent), typed);  // what was accepted was sent, nothing more, nothing less
  EXPECT_EQ(test::roundedMs(keying(), true).size(), typed.size());
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
}

// Room for the text and a growing part of the echo: the send fails at each character with
// host error 182, then not; user errors, and arguments the type text refuses, leave nothing.
TEST_F(MorseFaults, HandleGrowthFailuresAndUserErrorsLeaveNothing) {
  const std::string text = "CQ TEST";
  const Value sent = textbox();
  int failures = 0;
  for (size_t room = 0; room <= text.size() + 1; ++room) {
    host().setProperty(sent.object, "VALUE", Value::Text(""));
    host().setHandleLimit(text.size() + room);
    const int32_t error = errorOf("CW_SEND", {Value::Text(text), sent});
    EXPECT_TRUE(error == 0 || error == 182) << error;
    failures += error != 0;
    handles->expectNoneLeft();
  }
  EXPECT_GT(failures, 0);
  EXPECT_EQ(valueOf(sent), text);
  host().setHandleLimit(0);
  const size_t keyed = events().size();
  EXPECT_EQ(call("CW_SEND", {Value::Logical(true)}).integer, 0);  // resume while not paused
  EXPECT_NE(errorOf("CW_KBD", {Value::Text("x"), Value::Text("y")}), 0);
  EXPECT_NE(errorOf("CW_SEND", {}), 0);
  EXPECT_NE(errorOf("CW_SEND", {Value::Text("E"), Value::Text("not an object")}), 0);
  EXPECT_EQ(events().size(), keyed);
}

}  // namespace
}  // namespace morse
