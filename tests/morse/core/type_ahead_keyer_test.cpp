#include "core/type_ahead_keyer.hpp"

#include <gtest/gtest.h>

#include "core/type_ahead.hpp"
#include "fakes.hpp"

namespace morse {
namespace {

using test::KeyerRig;
using test::roundedMs;

constexpr uint32_t kTyping = 3;
constexpr uint32_t kSent = 4;

bool kbd(KeyerRig &rig, bool keep = false) {
  return TypeAheadKeyer(rig.state, rig.ports, rig.clock, rig.host, kTyping, kSent).run(keep);
}

// 255 pending at most: the push that would make the indices meet is refused, nothing lost.
TEST(TypeAhead, HoldsAtMost255AndRefusesTheNext) {
  TypeAhead ring;
  for (int i = 0; i < 255; ++i) ASSERT_TRUE(ring.push(static_cast<char>('A' + i % 26))) << i;
  EXPECT_FALSE(ring.push('Z'));
  EXPECT_EQ(ring.pending(), 255u);
  for (int i = 0; i < 255; ++i) EXPECT_EQ(ring.take(), static_cast<char>('A' + i % 26));
}

// What is typed (End 20 s later) is keyed and shown in both objects; Backspace takes back the
// last character still pending, and nothing once it is keyed.
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
    SCOPED_TRACE(c.typed);
    KeyerRig rig;
    rig.type(c.typed, rig.msNow());
    if (c.backspaceAtMs >= 0) rig.host.queueKey(kKeyBackspace, rig.msNow() + c.backspaceAtMs);
    rig.host.queueKey(kKeyEnd, rig.msNow() + 20'000);
    EXPECT_FALSE(kbd(rig));
    EXPECT_EQ(rig.host.objects[kTyping], c.shown);
    EXPECT_EQ(rig.host.objects[kSent], c.shown);
    EXPECT_EQ(rig.symbols(), c.symbols);
  }
}

// Home while text is pending pauses at the next blank (the keep flag goes on from there); Home
// with none pending (20 s on) stops. End and the keep flag are the library test's.
TEST(TypeAheadKeyer, HomePausesAtTheNextBlankWhenTextIsPendingAndStopsWhenNot) {
  KeyerRig rig;
  rig.type("AB CD", rig.msNow());
  rig.host.queueKey(kKeyHome, rig.msNow() + 50);  // during A
  EXPECT_TRUE(kbd(rig));
  EXPECT_TRUE(rig.state.paused);
  EXPECT_EQ(rig.host.objects[kSent], "AB ");
  EXPECT_EQ(rig.host.commands, std::vector<std::string>{"wait window 'Pause...' nowait"});
  rig.host.queueKey(kKeyHome, rig.msNow() + 20'000);
  EXPECT_FALSE(kbd(rig, true));
  EXPECT_EQ(rig.host.objects[kSent], "AB CD");
  EXPECT_EQ(rig.symbols(), "._ _... _._. _..");
}

// With an empty ring a speed key applies at once (and the keys its change reads are typed);
// while sending, after the character.
TEST(TypeAheadKeyer, SpeedKeys) {
  KeyerRig idle;
  idle.host.queueKey(kKeyUp, idle.msNow());
  idle.type("E", idle.msNow());
  idle.host.queueKey(kKeyEnd, idle.msNow() + 5000);
  kbd(idle);
  EXPECT_EQ(idle.state.settings.wpm, 17);
  EXPECT_EQ(idle.host.commands, std::vector<std::string>(2, std::string(kShowSpeedCommand)));
  EXPECT_EQ(roundedMs(idle.runs(), true), std::vector<int>{1320 / 17});
  KeyerRig sending;
  sending.type("EEE", sending.msNow());
  sending.host.queueKey(kKeyDown, sending.msNow() + 40);  // read in the first character gap
  sending.host.queueKey(kKeyEnd, sending.msNow() + 5000);
  kbd(sending);
  EXPECT_EQ(sending.state.settings.wpm, 13);
  EXPECT_EQ(roundedMs(sending.runs(), true), (std::vector<int>{88, 88, 101}));
}

// Keyboard passes (each host update 30 ms) come before a wait's deadline is taken, never inside
// an element: elements keep their length exactly, the keys read in the gaps keyed after. Waits of
// 80 ms or less (at 20 WPM the dot and element gap) do not read the keyboard at all.
TEST(TypeAheadKeyer, KeyboardPassesNeverStretchAnElementOrGap) {
  KeyerRig slow;
  slow.host.actionCostMicros = 30'000;
  slow.type("EEE", slow.msNow());
  slow.host.queueKey('T', slow.msNow() + 100);
  slow.host.queueKey('T', slow.msNow() + 500);
  slow.host.queueKey(kKeyEnd, slow.msNow() + 20'000);
  kbd(slow);
  EXPECT_EQ(roundedMs(slow.runs(), true), (std::vector<int>{88, 88, 88, 264, 264}));
  KeyerRig fast(20);
  fast.type("I", fast.msNow());
  fast.host.queueKey(kKeyEnd, fast.msNow() + 10);
  kbd(fast);
  EXPECT_EQ(fast.host.keyReads, 4);  // a pass before I (two reads), one in the character gap
}

// With nothing typed it sleeps until a key comes (PTT released), and the end of the input ends
// it as End does. A stop signal while it sleeps ends it at once (a stop while keyed is the send
// keyer's and the foxhost test's).
TEST(TypeAheadKeyer, WaitsForTypingAsleepAndEndsAtTheEndOfInputOrAStop) {
  KeyerRig rig;
  rig.type("E", rig.msNow() + 60'000);
  EXPECT_FALSE(kbd(rig));
  EXPECT_EQ(rig.symbols(), ".");
  EXPECT_LT(rig.clock.reads, 5000u);  // a minute of spinning would read the clock 60 million times
  EXPECT_EQ(rig.ports.standBys, 2);
  rig.ports.events.clear();
  const uint64_t start = rig.clock.peek();
  rig.clock.signalAtMicros = start + 5'000'000;
  rig.type("T", rig.msNow() + 60'000);
  EXPECT_FALSE(kbd(rig));
  EXPECT_TRUE(rig.ports.events.empty());
  EXPECT_NEAR((rig.clock.peek() - start) / 1000.0, 5000, 0.05);
}

// The host fails to show a key read in the pass that starts the dot: the error leaves the key up.
TEST(TypeAheadKeyer, HostFailureDuringAnElementLeavesTheKeyUp) {
  KeyerRig rig;
  rig.host.actionCostMicros = 5000;
  rig.type("E", rig.msNow());
  rig.host.queueKey('T', rig.msNow() + 2);
  rig.host.failAfterActions = 2;  // typing "E", sent "E", then the typed "T" fails
  EXPECT_THROW(kbd(rig), std::runtime_error);
  EXPECT_EQ(rig.ports.events.size(), 2u);  // down, and up again
  EXPECT_FALSE(rig.ports.devices.keyDown());
}

}  // namespace
}  // namespace morse
