// The library's functions called through foxhost on the virtual clock with the simulated ports:
// settings, ports, CW_SEND, CW_KBD, CW_PAUSED and CW_ANNU. The keying rules themselves are
// tested on the keyers in tests/morse/core; here the functions reach them and results come back
// as the host expects.
#include "library_fixture.hpp"

namespace morse {
namespace {

using foxhost::Value;
using test::keyedSymbols;
using test::roundedMs;

class MorseLibrary : public test::LibraryFixture {
 protected:
  void type(const std::string &text, uint64_t atMs) {
    for (char c : text) host().queueKey(static_cast<unsigned char>(c), atMs);
  }
};

TEST_F(MorseLibrary, SettersReturnTheSettingAndAReloadStartsFromTheLoadSettings) {
  for (const char *name : {"CW_WPM", "CW_WEIGHT", "CW_FARNSWORTH", "CW_SPEEDADJ", "CW_IEADJ",
                           "CW_ICADJ", "CW_IWADJ"}) {
    foxhost::testing::expectResult(host(), name, {},
                                   Value::Integer(std::string(name) == "CW_WPM" ? 15 : 0));
    EXPECT_EQ(call(name, {Value::Integer(-7)}).integer, -7) << name;  // no setter checks
    EXPECT_EQ(call(name).integer, -7) << name;
  }
  EXPECT_EQ(call("CW_WPM", {Value::Number(20.9, 10, 1)}).integer, 20);  // a number is truncated
  EXPECT_EQ(call("CW_PAR_ADDR", {Value::Integer(0x10278)}).integer, 0x278);  // low 16 bits
  unload();
  load();
  EXPECT_EQ(call("CW_WPM").integer, 15);
  EXPECT_EQ(call("CW_PAR_ADDR").integer, 888);
}

TEST_F(MorseLibrary, SettingsReachTheKeyerAndThePortAddressMovesIt) {
  foxhost::testing::expectResult(host(), "CW_SEND", {Value::Text("PARIS")}, Value::Integer(0, 1));
  EXPECT_EQ(keyedSymbols(keying(), 88, 88), ".__. ._ ._. .. ...");
  unload();
  load();
  call("CW_WPM", {Value::Integer(25)});
  call("CW_WEIGHT", {Value::Integer(20)});
  call("CW_PAR_ADDR", {Value::Integer(632)});
  call("CW_SEND", {Value::Text("TE E")});
  EXPECT_EQ(roundedMs(keying(634), true), (std::vector<int>{187, 43, 43}));
  EXPECT_EQ(roundedMs(keying(634), false), (std::vector<int>{158, 158 + 103}));
  // OUT_P writes the low byte to the low 16 bits of the port, and sets no result.
  EXPECT_EQ(call("OUT_P", {Value::Integer(0x10378), Value::Integer(0x1FF)}).type, 0);
  EXPECT_EQ(events().back().port, 0x378);
  EXPECT_EQ(events().back().value, 0xFF);
}

TEST_F(MorseLibrary, SendEchoesPausesAndResumes) {
  const Value sent = textbox();
  host().queueKey(1, msNow() + 100);  // Home during the first word
  EXPECT_EQ(call("CW_SEND", {Value::Text("cq cq de x"), sent}).integer, 2);
  EXPECT_TRUE(call("CW_PAUSED").logical);
  EXPECT_EQ(valueOf(sent), "CQ ");
  // SELSTART 9999 puts the caret after the text (the text box bounds it to the length).
  EXPECT_EQ(host().property(sent.object, "SELSTART").integer, 3);
  host().virtualClock()->nowMicros += 1'500'000;  // the operator takes a moment to resume
  EXPECT_EQ(call("CW_SEND", {Value::Integer(0), sent}).integer, 0);
  EXPECT_FALSE(call("CW_PAUSED").logical);
  EXPECT_EQ(valueOf(sent), "CQ CQ DE X");
  EXPECT_EQ(soundedText(), "CQ CQ DE X");
}

TEST_F(MorseLibrary, TypeAheadWithBackspaceAndTheKeepFlag) {
  const Value typing = textbox();
  const Value sent = textbox();
  type("cq dx", msNow());
  host().queueKey(127, msNow());  // takes back the x
  host().queueKey(6, msNow());    // End before anything is keyed
  foxhost::testing::expectResult(host(), "CW_KBD", {typing, sent}, Value::Logical(true));
  EXPECT_EQ(valueOf(typing), "CQ D");
  EXPECT_EQ(valueOf(sent), "");
  host().queueKey(6, msNow() + 10000);
  EXPECT_FALSE(call("CW_KBD", {typing, sent, Value::Logical(true)}).logical);
  EXPECT_EQ(valueOf(sent), "CQ D");
  type("K", msNow());
  host().queueKey(6, msNow());
  EXPECT_TRUE(call("CW_KBD", {typing, sent}).logical);
  host().queueKey(6, msNow() + 10);
  EXPECT_FALSE(call("CW_KBD", {typing, sent, Value::Logical(false)}).logical);  // K discarded
  EXPECT_EQ(soundedText(), "CQ D");
}

TEST_F(MorseLibrary, AnnouncementsSoundOnTheSpeakerAndShowTheirText) {
  EXPECT_EQ(call("CW_ANNU", {Value::Text("[a]b")}).type, 0);
  EXPECT_EQ(commands(),
            (std::vector<std::string>{"wait window [[A] + \"]\" + [B] nowait", "wait clear"}));
  EXPECT_NE(host().takeOutput().find("[A]B"), std::string::npos);
  // Quiet, at 1000 Hz, 20 WPM and weight 20: the dot is trunc(66 / 1.2).
  call("CW_ANNU", {Value::Text("I"), Value::Logical(false), Value::Integer(1000),
                   Value::Integer(20), Value::Integer(20)});
  EXPECT_EQ(commands().size(), 2u);
  const auto e = events();  // per element: the timer's command and divisor, the gate on and off
  ASSERT_GE(e.size(), 10u);
  EXPECT_EQ(e[e.size() - 4].value, (1193180 / 1000) & 0xFF);
  EXPECT_EQ(e[e.size() - 2].port, 0x61);
  EXPECT_NEAR((e[e.size() - 1].micros - e[e.size() - 2].micros) / 1000.0, 55, 0.01);
  for (const PortEvent &event : e) EXPECT_NE(event.port, 0x37A);  // never keys the transmitter
  unload();
  load();
  call("CW_ANNU", {Value::Text("cq de test")});
  EXPECT_EQ(soundedText(), "CQ DE TEST");
}

TEST_F(MorseLibrary, UnloadingOrEndingTheHostLetsAHeldKeyUp) {
  // A carrier keyed by hand (OUT_P, to tune) when the library goes: the port layer lets the key
  // up as it closes, and the WAV ends with a word space of silence (224 + 145 ms).
  for (const bool hostEnds : {false, true}) {
    call("CW_SEND", {Value::Text("E")});
    call("OUT_P", {Value::Integer(0x37A), Value::Integer(0x01)});
    host().virtualClock()->nowMicros += 500'000;
    hostEnds ? host_.reset() : unload();
    const auto e = events();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e.back().value, 0x09);
    EXPECT_NEAR((e.back().micros - e[2].micros) / 1000.0, 500, 0.1);
    const auto wav = test::readWavFile(wavPath());
    ASSERT_TRUE(wav);
    const auto runs = test::detectTones(*wav);
    ASSERT_EQ(runs.size(), 3u);  // dot, silence, the held carrier
    EXPECT_NEAR(runs[2].ms, 500, 1);
    EXPECT_GE(test::trailingSilenceMs(*wav), 224 + 145);
    load();
  }
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
