#include "core/type_ahead_keyer.hpp"

#include <gtest/gtest.h>

#include "core/type_ahead.hpp"
#include "fakes.hpp"

namespace morse {
namespace {

using test::roundedMs;

constexpr uint32_t kTyping = 3;
constexpr uint32_t kSent = 4;
const std::string kShowSpeed = "wait window ltrim(str(cw_wpm())) + ' WPM' nowait";

TEST(TypeAhead, RingStepsModulo256AndRefusesWhenFull) {
  TypeAhead ring;
  for (int i = 0; i < 255; ++i) ASSERT_TRUE(ring.push(static_cast<char>('A' + i % 26))) << i;
  EXPECT_TRUE(ring.full());
  EXPECT_FALSE(ring.push('Z'));  // would make the indices meet: refused, nothing lost
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

struct TypeAheadKeyerTest : ::testing::Test, test::KeyerRig {
  bool kbd(bool keep = false) {
    return TypeAheadKeyer(state, ports, clock, host, kTyping, kSent).run(keep);
  }
};

// What is typed (with End 20 s later) is keyed and shown in both objects; Backspace takes back
// the last character still pending, and nothing once it is keyed.
TEST(TypeAheadKeyer, KeysWhatIsTypedAndBackspaceTakesBackWhatIsPending) {
  const struct {
    const char *typed;
    int backspaceAtMs;  // -1: none
    const char *shown, *symbols;
  } cases[] = {
      {"cq'ar", -1, "CQ'AR", "_._. __._ ._._."},
      {"ABC", 0, "AB", "._ _..."},
      {"E", 40, "E", "."},  // read during the dot: E is no longer pending
  };
  for (const auto &c : cases) {
    test::KeyerRig rig;
    rig.type(c.typed, rig.msNow());
    if (c.backspaceAtMs >= 0) rig.host.queueKey(kKeyBackspace, rig.msNow() + c.backspaceAtMs);
    rig.host.queueKey(kKeyEnd, rig.msNow() + 20000);
    EXPECT_FALSE(
        TypeAheadKeyer(rig.state, rig.ports, rig.clock, rig.host, kTyping, kSent).run(false));
    EXPECT_EQ(rig.host.objects[kTyping], c.shown);
    EXPECT_EQ(rig.host.objects[kSent], c.shown);
    EXPECT_EQ(rig.symbols(), c.symbols);
  }
}

// End before anything is keyed leaves the text waiting: the next call keys it with the keep
// flag and discards it without.
TEST_F(TypeAheadKeyerTest, StopLeavesTypedTextForTheNextCallWithTheKeepFlag) {
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

TEST_F(TypeAheadKeyerTest, HomePausesAtTheNextBlankWhenTextIsPendingAndStopsWhenNot) {
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

// With an empty ring a speed key applies at once; while sending, after the character.
TEST_F(TypeAheadKeyerTest, SpeedKeys) {
  host.queueKey(kKeyUp, msNow());
  type("E", msNow());  // read by the speed change's own keyboard pass
  host.queueKey(kKeyEnd, msNow() + 5000);
  kbd();
  EXPECT_EQ(state.settings.wpm, 17);
  EXPECT_EQ(host.commands, (std::vector<std::string>{kShowSpeed, kShowSpeed}));
  EXPECT_EQ(roundedMs(runs(), true), std::vector<int>{1320 / 17});
  test::KeyerRig sending;
  sending.type("EEE", sending.msNow());
  sending.host.queueKey(kKeyDown, sending.msNow() + 40);  // read in the first character gap
  sending.host.queueKey(kKeyEnd, sending.msNow() + 5000);
  TypeAheadKeyer(sending.state, sending.ports, sending.clock, sending.host, kTyping, kSent)
      .run(false);
  EXPECT_EQ(sending.state.settings.wpm, 13);
  EXPECT_EQ(roundedMs(sending.runs(), true), (std::vector<int>{88, 88, 101}));
}

TEST_F(TypeAheadKeyerTest, KeyboardPassesNeverStretchAnElementOrGap) {
  host.actionCostMicros = 30'000;  // every host update takes 30 ms
  type("EEE", msNow());
  host.queueKey('T', msNow() + 100);
  host.queueKey('T', msNow() + 500);
  host.queueKey(kKeyEnd, msNow() + 20000);
  kbd();
  EXPECT_EQ(host.objects[kTyping], "EEETT");
  // The echo before each character costs the host's time; the elements keep theirs exactly.
  EXPECT_EQ(roundedMs(runs(), true), (std::vector<int>{88, 88, 88, 264, 264}));
  for (int ms : roundedMs(runs(), false)) EXPECT_GE(ms, 224);
}

TEST_F(TypeAheadKeyerTest, ShortWaitsDoNotReadTheKeyboard) {
  state.settings.wpm = 20;  // dot 66 and element gap 66 are short; dash 198 is long
  state.recompute();
  type("I", msNow());
  host.queueKey(kKeyEnd, msNow() + 10);
  kbd();
  // One pass before I (two reads), none in its dots and element gap, one in the character gap.
  EXPECT_EQ(host.keyReads, 4);
  EXPECT_EQ(symbols(), "..");
}

TEST_F(TypeAheadKeyerTest, FullRingRefusesKeysInsteadOfLosingEverything) {
  type(std::string(300, 'E'), msNow());
  host.queueKey(kKeyEnd, msNow() + 200000);
  kbd();
  const std::string typed = host.objects[kTyping];
  EXPECT_LT(typed.size(), 300u);
  EXPECT_GE(typed.size(), 255u);
  EXPECT_EQ(host.objects[kSent], typed);  // everything shown as typed was sent
  EXPECT_EQ(roundedMs(runs(), true).size(), typed.size());
}

TEST_F(TypeAheadKeyerTest, WaitsForTypingAsleepAndEndsAtTheEndOfInputOrAStop) {
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

TEST_F(TypeAheadKeyerTest, HostFailureDuringAnElementLeavesTheKeyUp) {
  host.actionCostMicros = 5000;
  type("E", msNow());
  host.queueKey('T', msNow() + 2);  // read in the pass that starts the dot; its echo fails
  host.failAfterActions = 2;        // typing "E", sent "E", then the typed "T" fails
  EXPECT_THROW(kbd(), std::runtime_error);
  ASSERT_FALSE(ports.events.empty());
  EXPECT_EQ(ports.events.front().value, kKeyDownValue);
  EXPECT_EQ(ports.events.back().value, kKeyUpValue);
  EXPECT_FALSE(ports.devices.keyDown());
}

}  // namespace
}  // namespace morse
