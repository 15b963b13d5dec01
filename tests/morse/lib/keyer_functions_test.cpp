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
  int32_t send(const std::string &text) { return call("CW_SEND", {Value::Text(text)}).integer; }
  void type(const std::string &text, uint64_t atMs) {
    for (char c : text) host().queueKey(static_cast<unsigned char>(c), atMs);
  }
};

// The durations themselves are tabled against the rules in timing_test; here the settings
// reach the keyer through their functions, and the result comes back as the host expects.
TEST_F(MorseKeyer, SettingsReachTheKeyer) {
  const Value r = call("CW_SEND", {Value::Text("PARIS")});
  EXPECT_EQ(r.type, 'I');
  EXPECT_EQ(r.width, 1);
  EXPECT_EQ(r.integer, 0);
  EXPECT_EQ(keyedSymbols(keying(), 88, 88), ".__. ._ ._. .. ...");
  struct Case {
    int wpm, weight, farnsworth;
    int dot, dash, characterGap, blank;
  };
  // blank: the silence around a word space, character gap plus word gap (or nothing extra).
  for (const Case &c :
       {Case{25, 20, 0, 43, 187, 158, 158 + 103}, Case{20, 0, 50, 44, 132, 312, 312}}) {
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
  EXPECT_EQ(soundedText(), "CQ CQ DE X");
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
  EXPECT_EQ(soundedText(), "CQ D");
}

}  // namespace
}  // namespace morse
