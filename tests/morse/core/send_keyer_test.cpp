#include "core/send_keyer.hpp"

#include <gtest/gtest.h>

#include "fakes.hpp"

namespace morse {
namespace {

using test::KeyerRig;
using test::roundedMs;

constexpr uint32_t kEcho = 7;

SendResult send(KeyerRig &rig, const std::optional<std::string> &text) {
  return SendKeyer(rig.state, rig.ports, rig.clock, rig.host).run(text, kEcho);
}

// What a new text keys (down 0x01 and up 0x09 on base + 2) and echoes, its key-up runs (element
// gap 88, character gap 224, word gap 145 at 15 WPM), and that it clears a pause (the serial test
// sends without an echo).
TEST(SendKeyer, SignsEchoAndGaps) {
  const struct {
    std::string text;
    int32_t wpm, farnsworth;
    const char *symbols, *echoed;
    std::vector<int> up;
  } cases[] = {
      {"'AR K", 15, 0, "._._. _._", "'AR K", {88, 88, 88, 88, 224 + 145, 88, 88}},
      {"E E", 20, 50, ". .", "E E", {312}},       // a negative word gap adds nothing
      {"e{~]_t", 15, 0, ". _", "ET", {224}},      // lower case keyed, others skipped
      {"E[E", 15, 0, ". .", "E[E", {224 + 224}},  // an empty code keys only the gap
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    KeyerRig rig(c.wpm, c.farnsworth);
    rig.state.paused = true;
    EXPECT_EQ(send(rig, c.text), SendResult::Finished);
    EXPECT_FALSE(rig.state.paused);
    EXPECT_EQ(rig.symbols(), c.symbols);
    EXPECT_EQ(rig.host.objects[kEcho], c.echoed);
    EXPECT_EQ(roundedMs(rig.runs(), false), c.up);
    for (const PortEvent &e : rig.ports.events) {
      EXPECT_TRUE(e.port == 0x37A && (e.value == kKeyDownValue || e.value == kKeyUpValue));
    }
  }
}

// Home (read after the first character) pauses after the word, the blank echoed; End, or a stop
// signal before any element, before the next character, echoed and not keyed. A resume goes on
// from there without echoing anything twice; one with nothing paused says so and keys nothing.
TEST(SendKeyer, HomeAndEndPauseAndAResumeGoesOn) {
  const struct {
    int32_t key;  // 0: none
    std::optional<std::string> text;
    SendResult result;
    const char *echoed, *symbols, *shown;
    bool signal = false;  // a stop signal at once
  } steps[] = {
      {kKeyHome, "AB CD", SendResult::Paused, "AB ", "._ _...", "wait window 'Pause...' nowait"},
      {0, std::nullopt, SendResult::Finished, "AB CD", "_._. _..", nullptr},
      {kKeyEnd, "A BC", SendResult::Stopped, "A B", "._", nullptr},
      {0, std::nullopt, SendResult::Finished, "A BC", "_... _._.", nullptr},
      {0, "AB", SendResult::Stopped, "A", "", nullptr, true},
      {0, std::nullopt, SendResult::Finished, "AB", "._ _...", nullptr},
      {0, std::nullopt, SendResult::Finished, "AB", "",
       "WAIT WINDOW 'CW_SEND: Attempt to resume when not paused (MORSE). Press a key...'"},
  };
  KeyerRig rig;
  for (const auto &s : steps) {
    SCOPED_TRACE(s.echoed);
    rig.ports.events.clear();
    rig.host.commands.clear();
    if (s.text) rig.host.objects.clear();
    if (s.key) rig.host.queueKey(s.key, rig.msNow());
    rig.clock.signalAtMicros = s.signal ? rig.clock.peek() : UINT64_MAX;
    EXPECT_EQ(send(rig, s.text), s.result);
    EXPECT_EQ(rig.state.paused, s.result != SendResult::Finished);
    EXPECT_EQ(rig.host.objects[kEcho], s.echoed);
    EXPECT_EQ(rig.symbols(), s.symbols);
    EXPECT_EQ(rig.host.commands, std::vector<std::string>(s.shown ? 1 : 0, s.shown ? s.shown : ""));
  }
}

// Speed keys step by two, show the speed, take effect on the next character, repeat while keys
// come (the second read by the change), and never go below five.
TEST(SendKeyer, SpeedKeys) {
  const struct {
    int32_t wpm, key, keys, wpmAfter;
    size_t shown;  // after each step and once more at the end
    std::vector<int> down;
  } cases[] = {
      {15, kKeyUp, 3, 21, 4, {88, 88, 1320 / 21}},
      {9, kKeyDown, 3, 5, 3, {146, 146, 264}},  // 9, 7, 5, then refused
      {6, kKeyDown, 1, 6, 1, {220, 220, 220}},  // 4 is refused
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.wpm);
    KeyerRig rig(c.wpm);
    for (int i = 0; i < c.keys; ++i) rig.host.queueKey(c.key, rig.msNow());
    send(rig, "EEE");
    EXPECT_EQ(rig.state.settings.wpm, c.wpmAfter);
    EXPECT_EQ(rig.state.durations, computeDurations(rig.state.settings));
    EXPECT_EQ(roundedMs(rig.runs(), true), c.down);
    EXPECT_EQ(rig.host.commands, std::vector<std::string>(
                                     c.shown, "wait window ltrim(str(cw_wpm())) + ' WPM' nowait"));
  }
}

}  // namespace
}  // namespace morse
