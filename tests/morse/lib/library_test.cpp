// The library's settings, port functions and announcements, called through foxhost.
#include "library_fixture.hpp"

namespace morse {
namespace {

using foxhost::Value;
using test::LibraryFixture;
using test::roundedMs;

class MorseLibrary : public LibraryFixture {};

TEST_F(MorseLibrary, SettersReturnTheSettingAndStoreAGivenValue) {
  for (const char *name : {"CW_WPM", "CW_WEIGHT", "CW_FARNSWORTH", "CW_SPEEDADJ", "CW_IEADJ",
                           "CW_ICADJ", "CW_IWADJ"}) {
    const Value v = call(name);
    EXPECT_EQ(v.type, 'I') << name;
    EXPECT_EQ(v.width, 10) << name;
    EXPECT_EQ(v.integer, std::string(name) == "CW_WPM" ? 15 : 0) << name;
    EXPECT_EQ(call(name, {Value::Integer(-7)}).integer, -7) << name;  // no setter checks
    EXPECT_EQ(call(name).integer, -7) << name;
  }
  EXPECT_EQ(call("CW_WEIGHT", {Value::Integer(15)}).integer, 15);
  EXPECT_EQ(call("CW_WEIGHT").integer, 15);
  EXPECT_EQ(call("CW_WPM", {Value::Number(20.9, 10, 1)}).integer, 20);  // a number is truncated
}

TEST_F(MorseLibrary, AReloadStartsFromTheLoadSettings) {
  call("CW_WPM", {Value::Integer(30)});
  call("CW_PAR_ADDR", {Value::Integer(632)});
  unload();
  load();
  EXPECT_EQ(call("CW_WPM").integer, 15);
  EXPECT_EQ(call("CW_PAR_ADDR").integer, 888);
}

TEST_F(MorseLibrary, PortAddressMovesTheKeyingRegister) {
  EXPECT_EQ(call("CW_PAR_ADDR").integer, 888);
  EXPECT_EQ(call("CW_PAR_ADDR", {Value::Integer(632)}).integer, 632);
  call("CW_SEND", {Value::Text("E")});
  const auto e = events();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].port, 634);
  EXPECT_EQ(e[0].value, 0x01);
  EXPECT_EQ(e[1].port, 634);
  EXPECT_EQ(e[1].value, 0x09);
  EXPECT_EQ(call("CW_PAR_ADDR", {Value::Integer(0x10278)}).integer, 0x278);  // low 16 bits
}

TEST_F(MorseLibrary, OutPWritesTheLowByteToTheLowPortBits) {
  const Value r = call("OUT_P", {Value::Integer(0x10378), Value::Integer(0x1FF)});
  EXPECT_EQ(r.type, 0);  // no result set
  const auto e = events();
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].port, 0x378);
  EXPECT_EQ(e[0].value, 0xFF);
}

TEST_F(MorseLibrary, AnnouncementSoundsOnTheSpeakerWithItsOwnTiming) {
  const Value r = call("CW_ANNU", {Value::Text("e t")});
  EXPECT_EQ(r.type, 0);
  EXPECT_EQ(commands(), (std::vector<std::string>{"wait window [E T] nowait", "wait clear"}));
  const auto e = events();  // timer set up, gate on and off per element (announcer_test)
  ASSERT_EQ(e.size(), 10u);
  EXPECT_EQ(e[3].port, 0x61);
  // Dot 101; then element gap 101, character gap 303, word gap 121, character gap 303; dash 303.
  EXPECT_NEAR((e[4].micros - e[3].micros) / 1000.0, 101, 0.01);
  EXPECT_NEAR((e[8].micros - e[4].micros) / 1000.0, 101 + 303 + 121 + 303, 0.01);
  EXPECT_NEAR((e[9].micros - e[8].micros) / 1000.0, 303, 0.01);
}

TEST_F(MorseLibrary, AnnouncementArgumentsAndAQuietDisplay) {
  call("CW_ANNU", {Value::Text("I"), Value::Logical(false), Value::Integer(1000),
                   Value::Integer(20), Value::Integer(20)});
  EXPECT_TRUE(commands().empty());
  const auto e = events();
  ASSERT_GE(e.size(), 5u);
  EXPECT_EQ(e[1].value, (1193180 / 1000) & 0xFF);
  EXPECT_NEAR((e[4].micros - e[3].micros) / 1000.0, 55, 0.01);  // trunc(66 / 1.2)
}

TEST_F(MorseLibrary, AnnouncementTextWithAClosingBracketStillShows) {
  EXPECT_NO_THROW(call("CW_ANNU", {Value::Text("[A]B")}));
  ASSERT_FALSE(commands().empty());
  EXPECT_EQ(commands()[0], "wait window [[A] + \"]\" + [B] nowait");
  EXPECT_NE(host().takeOutput().find("[A]B"), std::string::npos);
}

TEST_F(MorseLibrary, AnnouncementDecodesFromTheWav) {
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
  const auto &commands = host().executedCommands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0],
            "wait window 'MORSE: keying simulated; sound simulated; not opened: "
            "ppdev: " +
                (dir_ / "no-such-parport").string() + ": No such file or directory' nowait");
  EXPECT_EQ(roundedMs(keying(), true), (std::vector<int>{88, 88}));
}

}  // namespace
}  // namespace morse
