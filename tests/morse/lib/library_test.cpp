// The functions reach the keyers (whose rules tests/morse/core checks) and answer as foxhost
// expects.
#include "library_fixture.hpp"

namespace morse {
namespace {

using foxhost::Value;
using test::roundedMs;

using MorseLibrary = test::LibraryFixture;

// Setters return their setting (width 10), unchecked; a reload restores the load settings; 25 WPM
// and weight 20 key dash 187, dot 43 at the moved port; OUT_P writes a low byte to 16 bits of port.
TEST_F(MorseLibrary, SettingsReachTheKeyerAndAReloadStartsFromTheLoadSettings) {
  for (const char *name : {"CW_WPM", "CW_WEIGHT", "CW_FARNSWORTH", "CW_SPEEDADJ", "CW_IEADJ",
                           "CW_ICADJ", "CW_IWADJ"}) {
    foxhost::testing::expectResult(host(), name, {},
                                   Value::Integer(std::string(name) == "CW_WPM" ? 15 : 0, 10));
    EXPECT_EQ(call(name, {Value::Integer(-7)}).integer, -7) << name;
    EXPECT_EQ(call(name).integer, -7) << name;
  }
  EXPECT_EQ(call("CW_WPM", {Value::Number(20.9, 10, 1)}).integer, 20);
  EXPECT_EQ(call("CW_PAR_ADDR", {Value::Integer(0x10278)}).integer, 0x278);
  unload();
  load();
  EXPECT_EQ(call("CW_PAR_ADDR").integer, 888);
  call("CW_WPM", {Value::Integer(25)});
  call("CW_WEIGHT", {Value::Integer(20)});
  call("CW_PAR_ADDR", {Value::Integer(632)});
  foxhost::testing::expectResult(host(), "CW_SEND", {Value::Text("TE E")}, Value::Integer(0, 1));
  EXPECT_EQ(roundedMs(keying(634), true), (std::vector<int>{187, 43, 43}));
  EXPECT_EQ(roundedMs(keying(634), false), (std::vector<int>{158, 158 + 103}));
  EXPECT_EQ(call("OUT_P", {Value::Integer(0x10378), Value::Integer(0x1FF)}).type, 0);
  EXPECT_EQ(events().back().port, 0x378);
  EXPECT_EQ(events().back().value, 0xFF);
}

// Home pauses (2) after the word, the echo's caret after the text (SELSTART 9999 bounded by the
// text box); a resume by 0 goes on.
TEST_F(MorseLibrary, SendEchoesPausesAndResumes) {
  const Value sent = textbox();
  host().queueKey(1, msNow() + 100);
  EXPECT_EQ(call("CW_SEND", {Value::Text("cq de x"), sent}).integer, 2);
  EXPECT_TRUE(call("CW_PAUSED").logical);
  EXPECT_EQ(host().property(sent.object, "SELSTART").integer, 3);
  EXPECT_EQ(call("CW_SEND", {Value::Integer(0), sent}).integer, 0);
  EXPECT_EQ(valueOf(sent), "CQ DE X");
}

// Backspace takes back the x; End before any keying returns true; the keep flag keys what was left.
TEST_F(MorseLibrary, TypeAheadWithBackspaceAndTheKeepFlag) {
  const Value typing = textbox();
  const Value sent = textbox();
  const auto type = [this](const std::string &keys) {
    for (char c : keys) host().queueKey(static_cast<unsigned char>(c), msNow());
  };
  type("cq dx\x7f\x06");
  foxhost::testing::expectResult(host(), "CW_KBD", {typing, sent}, Value::Logical(true));
  EXPECT_EQ(valueOf(typing), "CQ D");
  EXPECT_EQ(valueOf(sent), "");
  host().queueKey(6, msNow() + 10000);
  EXPECT_FALSE(call("CW_KBD", {typing, sent, Value::Logical(true)}).logical);
  EXPECT_EQ(valueOf(sent), "CQ D");
  type("K\x06");
  EXPECT_TRUE(call("CW_KBD", {typing, sent}).logical);
  // K discarded; with no key left to come the input has ended, which ends the call as End does.
  EXPECT_FALSE(call("CW_KBD", {typing, sent, Value::Logical(false)}).logical);
  EXPECT_EQ(soundedText(), "CQ D");
}

// An announcement shows its text while it sounds; quiet, at 1000 Hz, 20 WPM and weight 20 it
// shows nothing and its dot is trunc(66 / 1.2); it never keys the transmitter.
TEST_F(MorseLibrary, AnnouncementsSoundOnTheSpeakerAndShowTheirText) {
  EXPECT_EQ(call("CW_ANNU", {Value::Text("cq de test")}).type, 0);
  EXPECT_EQ(soundedText(), "CQ DE TEST");
  load();
  call("CW_ANNU", {Value::Text("I"), Value::Logical(false), Value::Integer(1000),
                   Value::Integer(20), Value::Integer(20)});
  EXPECT_EQ(host().executedCommands().size(), 1u);  // the start notice only
  const auto e = events();  // per element: the timer's command and divisor, the gate on and off
  ASSERT_EQ(e.size(), 10u);
  EXPECT_EQ(e[6].value, (1193180 / 1000) & 0xFF);
  EXPECT_NEAR((e[9].micros - e[8].micros) / 1000.0, 55, 0.01);
  for (const PortEvent &event : e) EXPECT_NE(event.port, 0x37A);
}

TEST_F(MorseLibrary, WithoutHardwareItSaysSoOnceAndSimulates) {
  unload();
  setenv("MORSE_PORTS", "ppdev", 1);
  setenv("MORSE_PARPORT", (dir_ / "no-such-parport").c_str(), 1);
  load();
  call("CW_SEND", {Value::Text("E")});
  call("CW_SEND", {Value::Text("E")});
  EXPECT_EQ(host().executedCommands(),
            std::vector<std::string>{"wait window 'MORSE: keying simulated; sound simulated; not "
                                     "opened: ppdev: " +
                                     (dir_ / "no-such-parport").string() +
                                     ": No such file or directory' nowait"});
  EXPECT_EQ(roundedMs(keying(), true), (std::vector<int>{88, 88}));
}

}  // namespace
}  // namespace morse
