#include "core/type_ahead_keyer.hpp"

#include <gtest/gtest.h>

#include "core/type_ahead.hpp"
#include "fakes.hpp"

namespace morse {
namespace {

using test::keyedSymbols;
using test::keyingRuns;
using test::RecordingPorts;
using test::roundedMs;
using test::ScriptedHost;
using test::StepClock;

constexpr uint32_t kTyping = 3;
constexpr uint32_t kSent = 4;
constexpr uint16_t kControl = 0x37A;

TEST(TypeAhead, RingStepsModulo256AndRefusesWhenFull) {
  TypeAhead ring;
  EXPECT_TRUE(ring.empty());
  for (int i = 0; i < 255; ++i) ASSERT_TRUE(ring.push(static_cast<char>('A' + i % 26))) << i;
  EXPECT_TRUE(ring.full());
  EXPECT_FALSE(ring.push('Z'));  // would make the indices meet: refused, nothing lost
  EXPECT_EQ(ring.pending(), 255u);
  EXPECT_EQ(ring.take(), 'A');
  EXPECT_TRUE(ring.push('!'));
  EXPECT_TRUE(ring.dropLast());
  EXPECT_EQ(ring.pending(), 254u);
  for (int i = 1; i < 255; ++i) EXPECT_EQ(ring.take(), static_cast<char>('A' + i % 26));
  EXPECT_TRUE(ring.empty());
  EXPECT_FALSE(ring.dropLast());
  ring.push('Q');
  ring.clear();
  EXPECT_TRUE(ring.empty());
}

struct KbdFixture : ::testing::Test {
  StepClock clock;
  RecordingPorts ports{clock};
  ScriptedHost host{clock};
  KeyerState state;

  bool kbd(bool keep = false) {
    TypeAheadKeyer k(state, ports, clock, host, kTyping, kSent);
    return k.run(keep);
  }
  void type(const std::string &text, uint64_t atMs) {
    for (char c : text) host.queueKey(static_cast<unsigned char>(c), atMs);
  }
  uint64_t msNow() const { return clock.peek() / 1000; }
  std::vector<test::KeyRun> runs() const { return keyingRuns(ports.events, kControl); }
  std::string symbols() const {
    return keyedSymbols(runs(), state.durations.dot, state.durations.elementGap);
  }
};

TEST_F(KbdFixture, KeysWhatIsTypedAndShowsItInBothObjects) {
  type("cq'ar", msNow());
  host.queueKey(kKeyEnd, msNow() + 20000);
  EXPECT_FALSE(kbd());
  EXPECT_EQ(host.objects[kTyping], "CQ'AR");
  EXPECT_EQ(host.objects[kSent], "CQ'AR");
  EXPECT_EQ(symbols(), "_._. __._ ._._.");
}

TEST_F(KbdFixture, BackspaceTakesBackTheLastPendingCharacter) {
  type("ABC", msNow());
  host.queueKey(kKeyBackspace, msNow());
  host.queueKey(kKeyEnd, msNow() + 20000);
  kbd();
  EXPECT_EQ(host.objects[kTyping], "AB");
  EXPECT_EQ(host.objects[kSent], "AB");
  EXPECT_EQ(symbols(), "._ _...");
}

TEST_F(KbdFixture, BackspaceWithNothingPendingDoesNothing) {
  type("E", msNow());
  host.queueKey(kKeyBackspace, msNow() + 40);  // read during the 88 ms dot: E is no longer pending
  host.queueKey(kKeyEnd, msNow() + 2000);
  kbd();
  EXPECT_EQ(host.objects[kTyping], "E");
  EXPECT_EQ(host.objects[kSent], "E");
}

// End before anything is keyed leaves the text waiting: the next call keys it with the keep
// flag and discards it without.
TEST_F(KbdFixture, StopLeavesTypedTextForTheNextCallWithTheKeepFlag) {
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep ? "kept" : "discarded");
    host.objects.clear();
    ports.events.clear();
    type("AB", msNow());
    host.queueKey(kKeyEnd, msNow());
    EXPECT_TRUE(kbd());
    EXPECT_TRUE(ports.events.empty());
    host.queueKey(kKeyEnd, msNow() + 20000);
    EXPECT_FALSE(kbd(keep));
    EXPECT_EQ(host.objects[kSent], keep ? "AB" : "");
    EXPECT_EQ(ports.events.empty(), !keep);
  }
}

TEST_F(KbdFixture, HomePausesAtTheNextBlankWhenTextIsPendingAndStopsWhenNot) {
  type("AB CD", msNow());
  host.queueKey(kKeyHome, msNow() + 50);  // during A
  EXPECT_TRUE(kbd());
  EXPECT_TRUE(state.paused);
  EXPECT_EQ(host.objects[kSent], "AB ");
  EXPECT_EQ(host.commands, std::vector<std::string>{"wait window 'Pause...' nowait"});

  host.queueKey(kKeyHome, msNow() + 20000);  // ring empty by then: a stop
  EXPECT_FALSE(kbd(true));
  EXPECT_EQ(host.objects[kSent], "AB CD");
}

TEST_F(KbdFixture, SpeedKeyWithAnEmptyRingChangesSpeedAtOnceAndTypingGoesOn) {
  host.queueKey(kKeyUp, msNow());
  type("E", msNow());  // read by the speed change's own keyboard pass
  host.queueKey(kKeyEnd, msNow() + 5000);
  kbd();
  EXPECT_EQ(state.settings.wpm, 17);
  const std::string show = "wait window ltrim(str(cw_wpm())) + ' WPM' nowait";
  EXPECT_EQ(host.commands, (std::vector<std::string>{show, show}));
  EXPECT_EQ(roundedMs(runs(), true), std::vector<int>{1320 / 17});
  EXPECT_EQ(host.objects[kSent], "E");
}

TEST_F(KbdFixture, SpeedKeyWhileSendingAppliesAfterTheCharacter) {
  type("EEE", msNow());
  host.queueKey(kKeyDown, msNow() + 40);  // read in the first character gap
  host.queueKey(kKeyEnd, msNow() + 5000);
  kbd();
  EXPECT_EQ(state.settings.wpm, 13);
  EXPECT_EQ(roundedMs(runs(), true), (std::vector<int>{88, 88, 101}));
}

TEST_F(KbdFixture, KeyboardPassesNeverStretchAnElementOrGap) {
  host.actionCostMicros = 30'000;  // every host update takes 30 ms
  type("EEE", msNow());
  host.queueKey('T', msNow() + 100);
  host.queueKey('T', msNow() + 500);
  host.queueKey(kKeyEnd, msNow() + 20000);
  kbd();
  EXPECT_EQ(host.objects[kTyping], "EEETT");
  // The echo before each character costs the host's time; the elements keep theirs exactly.
  const auto r = runs();
  EXPECT_EQ(roundedMs(r, true), (std::vector<int>{88, 88, 88, 264, 264}));
  for (int ms : roundedMs(r, false)) EXPECT_GE(ms, 224);
}

TEST_F(KbdFixture, ShortWaitsDoNotReadTheKeyboard) {
  state.settings.wpm = 20;  // dot 66 and element gap 66 are short; dash 198 is long
  state.recompute();
  type("I", msNow());
  host.queueKey(kKeyEnd, msNow() + 10);
  kbd();
  // One pass before I (two reads), none in its dots and element gap, one in the character gap.
  EXPECT_EQ(host.keyReads, 4);
  EXPECT_EQ(symbols(), "..");
}

TEST_F(KbdFixture, FullRingRefusesKeysInsteadOfLosingEverything) {
  type(std::string(300, 'E'), msNow());
  host.queueKey(kKeyEnd, msNow() + 200000);
  kbd();
  const std::string typed = host.objects[kTyping];
  EXPECT_LT(typed.size(), 300u);
  EXPECT_GE(typed.size(), 255u);
  // Everything shown as typed was sent.
  EXPECT_EQ(host.objects[kSent], typed);
  EXPECT_EQ(roundedMs(runs(), true).size(), typed.size());
}

TEST_F(KbdFixture, WaitsForTypingAsleepAndEndsAtTheEndOfInputOrAStop) {
  type("E", msNow() + 60000);  // typed a minute later
  EXPECT_FALSE(kbd());         // keyed, and then the input ended: as the stop key
  EXPECT_EQ(symbols(), ".");
  EXPECT_EQ(host.keyWaits, 2);
  EXPECT_LT(clock.reads, 5000u);  // a minute of spinning would read the clock 60 million times
  EXPECT_EQ(ports.standBys, 2);   // PTT released whenever it waits for typing

  // A stop signal in the middle of a dash, and one while it waits for typing.
  for (const uint64_t signalMs : {100, 5000}) {
    ports.events.clear();
    const uint64_t start = clock.peek();
    clock.signalAtMicros = start + signalMs * 1000;
    type("T", msNow() + (signalMs == 100 ? 0 : 60000));
    EXPECT_FALSE(kbd());
    EXPECT_EQ(ports.events.empty(), signalMs != 100);
    if (!ports.events.empty()) {
      EXPECT_EQ(ports.events.back().value, kKeyUpValue);
      EXPECT_NEAR((ports.events.back().micros - start) / 1000.0, 100, 0.05);
    }
    EXPECT_NEAR((clock.peek() - start) / 1000.0, signalMs, 0.05);
    clock.signalAtMicros = UINT64_MAX;
  }
}

TEST_F(KbdFixture, HostFailureDuringAnElementLeavesTheKeyUp) {
  host.actionCostMicros = 5000;
  type("E", msNow());
  host.queueKey('T', msNow() + 2);  // read in the pass that starts the dot; its echo fails
  host.failAfterActions = 2;        // typing "E", sent "E", then the typed "T" fails
  EXPECT_THROW(kbd(), std::runtime_error);
  ASSERT_FALSE(ports.events.empty());
  EXPECT_EQ(ports.events.front().value, 0x01);
  EXPECT_EQ(ports.events.back().value, 0x09);
  EXPECT_FALSE(ports.devices.keyDown());
}

}  // namespace
}  // namespace morse
