// The Morse library under abuse, through foxhost: a megabyte of text, more keys typed ahead than
// the ring holds, absurd speeds, and hosts that cannot grow a handle. Every call returns or
// raises a host error, leaves the key up, and leaves no handle behind.

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
    live_ = host().handleCounters().live;
  }

  Value textbox() { return Value::Object(host().createObject("textbox")); }
  std::string valueOf(const Value &object) { return host().property(object.object, "VALUE").text; }
  // Handles are counted before the objects a test makes: those hold none.
  void expectNoHandleLeft() {
    EXPECT_EQ(host().handleCounters().live, live_) << "a call left a handle behind";
    EXPECT_EQ(host().handleCounters().locked, 0u) << "a call left a handle locked";
  }
  void expectKeyUp() {
    const auto e = events();
    if (!e.empty()) {
      EXPECT_EQ(e.back().value, 0x09) << "the key was left down";
    }
  }
  std::optional<foxhost::HostError> errorOf(const std::string &name,
                                            const std::vector<Value> &args) {
    try {
      call(name, args);
    } catch (const foxhost::HostError &e) {
      return e;
    }
    return std::nullopt;
  }

  size_t live_ = 0;
};

TEST_F(MorseFaults, MegabyteTextIsSentWhole) {
  call("CW_WPM", {Value::Integer(60)});
  // Characters outside the keyed range are skipped, so the megabyte takes no air time.
  const std::string text = "CQ " + std::string(1 << 20, '~') + " K";
  const Value sent = textbox();
  EXPECT_EQ(call("CW_SEND", {Value::Text(text), sent}).integer, 0);
  EXPECT_EQ(valueOf(sent), "CQ  K");
  EXPECT_FALSE(call("CW_PAUSED").logical);
  expectKeyUp();
  expectNoHandleLeft();
  unload();
  const auto wav = test::readWavFile(wavPath());
  ASSERT_TRUE(wav);
  EXPECT_EQ(test::decodeWav(*wav), "CQ K");
}

TEST_F(MorseFaults, MegabyteTextPausedAndResumed) {
  call("CW_WPM", {Value::Integer(60)});
  const std::string text = "AB " + std::string(1 << 20, '|') + " CD";
  host().queueKey(1, msNow() + 1);  // Home while A is keyed: pause at the next blank
  EXPECT_EQ(call("CW_SEND", {Value::Text(text)}).integer, 2);
  EXPECT_TRUE(call("CW_PAUSED").logical);
  EXPECT_EQ(call("CW_SEND", {Value::Integer(0)}).integer, 0);
  expectKeyUp();
  expectNoHandleLeft();
  unload();
  const auto wav = test::readWavFile(wavPath());
  ASSERT_TRUE(wav);
  EXPECT_EQ(test::decodeWav(*wav), "AB CD");
}

TEST_F(MorseFaults, ThreeHundredKeysTypedAhead) {
  // At 30 WPM the character gaps read the keyboard, so the typing outruns the keying and the
  // ring fills: it refuses keys rather than wrap round to empty.
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
  expectKeyUp();
  expectNoHandleLeft();
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
  expectKeyUp();
  expectNoHandleLeft();
}

TEST_F(MorseFaults, HandleGrowthFailuresRaise182AndLeaveNothing) {
  const std::string text = "CQ TEST";
  const Value sent = textbox();
  // Room for the text argument and a growing part of the echo: the echo fails at each
  // character in turn, then not at all.
  int failures = 0;
  for (size_t room = 0; room <= text.size() + 1; ++room) {
    host().setProperty(sent.object, "VALUE", Value::Text(""));
    host().setHandleLimit(text.size() + room);
    const auto error = errorOf("CW_SEND", {Value::Text(text), sent});
    if (error) {
      EXPECT_EQ(error->number(), 182) << error->what();
      ++failures;
    }
    expectKeyUp();
    expectNoHandleLeft();
  }
  EXPECT_GT(failures, 0);
  host().setHandleLimit(0);
  host().setProperty(sent.object, "VALUE", Value::Text(""));
  EXPECT_EQ(call("CW_SEND", {Value::Text(text), sent}).integer, 0);
  EXPECT_EQ(valueOf(sent), text);
  expectNoHandleLeft();
}

TEST_F(MorseFaults, UserErrorsLeaveNoHandle) {
  // Resume while not paused: the message and 0.
  EXPECT_EQ(call("CW_SEND", {Value::Logical(true)}).integer, 0);
  // Arguments the type text refuses never reach the library.
  EXPECT_TRUE(errorOf("CW_KBD", {Value::Text("x"), Value::Text("y")}));
  EXPECT_TRUE(errorOf("CW_SEND", {}));
  EXPECT_TRUE(errorOf("CW_SEND", {Value::Text("E"), Value::Text("not an object")}));
  EXPECT_TRUE(events().empty());
  expectNoHandleLeft();
}

}  // namespace
}  // namespace morse
