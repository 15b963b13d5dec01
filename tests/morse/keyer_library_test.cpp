// CW_SEND, CW_KBD and CW_PAUSED called through foxhost, with keys arriving at scripted times.
#include "library_fixture.hpp"

namespace morse {
namespace {

using foxhost::Value;
using test::keyedSymbols;
using test::LibraryFixture;
using test::roundedMs;

class MorseKeyer : public LibraryFixture {
 protected:
  Value textbox() { return Value::Object(host().createObject("textbox")); }
  std::string valueOf(const Value &object) { return host().property(object.object, "VALUE").text; }
  int32_t send(const std::string &text) { return call("CW_SEND", {Value::Text(text)}).integer; }
  void type(const std::string &text, uint64_t atMs) {
    for (char c : text) host().queueKey(static_cast<unsigned char>(c), atMs);
  }
};

TEST_F(MorseKeyer, DurationsAtTheLoadSettings) {
  const Value r = call("CW_SEND", {Value::Text("PARIS PARIS")});
  EXPECT_EQ(r.type, 'I');
  EXPECT_EQ(r.width, 1);
  EXPECT_EQ(r.integer, 0);
  const auto runs = keying();
  EXPECT_EQ(keyedSymbols(runs, 88, 88), ".__. ._ ._. .. ... .__. ._ ._. .. ...");
  for (int ms : roundedMs(runs, true)) EXPECT_TRUE(ms == 88 || ms == 264) << ms;
  const std::vector<int> up = roundedMs(runs, false);
  for (int ms : up) EXPECT_TRUE(ms == 88 || ms == 224 || ms == 224 + 145) << ms;
  EXPECT_EQ(std::count(up.begin(), up.end(), 224 + 145), 1);
}

TEST_F(MorseKeyer, DurationsFollowTheSettings) {
  struct Case {
    int wpm, weight, farnsworth;
    int dot, dash, characterGap, blank;
  };
  // blank: the silence around a word space, character gap plus word gap (or nothing extra).
  const Case cases[] = {{20, 0, 0, 66, 198, 168, 168 + 109},
                        {20, 0, 50, 44, 132, 312, 312},
                        {25, 20, 0, 43, 187, 158, 158 + 103},
                        {13, 0, 0, 101, 303, 257, 257 + 167}};
  for (const Case &c : cases) {
    unload();
    load();
    call("CW_WPM", {Value::Integer(c.wpm)});
    call("CW_WEIGHT", {Value::Integer(c.weight)});
    call("CW_FARNSWORTH", {Value::Integer(c.farnsworth)});
    send("TE E");
    EXPECT_EQ(roundedMs(keying(), true), (std::vector<int>{c.dash, c.dot, c.dot})) << c.wpm;
    EXPECT_EQ(roundedMs(keying(), false), (std::vector<int>{c.characterGap, c.blank})) << c.wpm;
  }
}

TEST_F(MorseKeyer, JoinedSignsAndEchoIntoTheObject) {
  const Value sent = textbox();
  call("CW_SEND", {Value::Text("'ar k"), sent});
  EXPECT_EQ(valueOf(sent), "'AR K");
  // SELSTART 9999 puts the caret after the text (the text box bounds it to the length).
  EXPECT_EQ(host().property(sent.object, "SELSTART").integer, 5);
  EXPECT_EQ(keyedSymbols(keying(), 88, 88), "._._. _._");
}

TEST_F(MorseKeyer, PauseAtTheBlankThenResume) {
  const Value sent = textbox();
  host().queueKey(1, msNow() + 100);  // Home during the first word
  EXPECT_EQ(call("CW_SEND", {Value::Text("CQ CQ DE X"), sent}).integer, 2);
  EXPECT_TRUE(call("CW_PAUSED").logical);
  EXPECT_EQ(valueOf(sent), "CQ ");
  host().virtualClock()->nowMicros += 1'500'000;  // the operator takes a moment to resume
  EXPECT_EQ(call("CW_SEND", {Value::Integer(0), sent}).integer, 0);
  EXPECT_FALSE(call("CW_PAUSED").logical);
  EXPECT_EQ(valueOf(sent), "CQ CQ DE X");
  unload();
  const auto wav = test::readWavFile(wavPath());
  ASSERT_TRUE(wav);
  EXPECT_EQ(test::decodeWav(*wav), "CQ CQ DE X");
}

TEST_F(MorseKeyer, ResumeWhenNotPausedIsRefused) {
  send("E");
  EXPECT_EQ(call("CW_SEND", {Value::Logical(true)}).integer, 0);
  EXPECT_EQ(
      commands(),
      std::vector<std::string>{
          "WAIT WINDOW 'CW_SEND: Attempt to resume when not paused (MORSE). Press a key...'"});
  EXPECT_EQ(keying().size(), 1u);  // only E's dot
}

TEST_F(MorseKeyer, SpeedKeysShowTheSpeedAndStopAtFive) {
  call("CW_WPM", {Value::Integer(9)});
  for (int i = 0; i < 3; ++i) host().queueKey(24, msNow());  // Down, three times
  send("EEEE");
  EXPECT_EQ(call("CW_WPM").integer, 5);  // 9 -> 7 -> 5, then refused
  const std::string show = "wait window ltrim(str(cw_wpm())) + ' WPM' nowait";
  EXPECT_EQ(commands(), (std::vector<std::string>{show, show, show}));
  const std::string shown = host().takeOutput();
  EXPECT_NE(shown.find("7 WPM"), std::string::npos) << shown;
  EXPECT_NE(shown.find("5 WPM"), std::string::npos) << shown;
}

TEST_F(MorseKeyer, LongTextsAreSentWhole) {
  call("CW_WPM", {Value::Integer(600)});
  const std::string text = std::string(2500, 'E') + "T";
  const Value sent = textbox();
  call("CW_SEND", {Value::Text(text), sent});
  EXPECT_EQ(valueOf(sent), text);
  EXPECT_EQ(roundedMs(keying(), true).size(), 2501u);
}

TEST_F(MorseKeyer, TypeAheadWithBackspaceAndTheKeepFlag) {
  const Value typing = textbox();
  const Value sent = textbox();
  type("cq dx", msNow());
  host().queueKey(127, msNow());  // takes back the x
  host().queueKey(6, msNow());    // End before anything is keyed
  Value r = call("CW_KBD", {typing, sent});
  EXPECT_EQ(r.type, 'L');
  EXPECT_TRUE(r.logical);  // left with typed text waiting
  EXPECT_EQ(valueOf(typing), "CQ D");
  EXPECT_EQ(valueOf(sent), "");

  host().queueKey(6, msNow() + 10000);
  r = call("CW_KBD", {typing, sent, Value::Logical(true)});
  EXPECT_FALSE(r.logical);
  EXPECT_EQ(valueOf(sent), "CQ D");

  type("K", msNow());
  host().queueKey(6, msNow());
  EXPECT_TRUE(call("CW_KBD", {typing, sent}).logical);
  host().queueKey(6, msNow() + 10);
  EXPECT_FALSE(call("CW_KBD", {typing, sent, Value::Logical(false)}).logical);  // K discarded
  EXPECT_EQ(valueOf(sent), "CQ D");
  unload();
  const auto wav = test::readWavFile(wavPath());
  ASSERT_TRUE(wav);
  EXPECT_EQ(test::decodeWav(*wav), "CQ D");
}

TEST_F(MorseKeyer, TypeAheadPausesAtABlank) {
  const Value typing = textbox();
  const Value sent = textbox();
  type("ab cd", msNow());
  host().queueKey(1, msNow() + 50);
  EXPECT_TRUE(call("CW_KBD", {typing, sent}).logical);
  EXPECT_TRUE(call("CW_PAUSED").logical);
  EXPECT_EQ(valueOf(sent), "AB ");
  host().queueKey(1, msNow() + 5000);  // Home with nothing typed: a stop
  EXPECT_FALSE(call("CW_KBD", {typing, sent, Value::Logical(true)}).logical);
  EXPECT_EQ(valueOf(sent), "AB CD");
}

}  // namespace
}  // namespace morse
