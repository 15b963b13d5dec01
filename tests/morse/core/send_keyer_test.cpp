#include "core/send_keyer.hpp"

#include <gtest/gtest.h>

#include "fakes.hpp"

namespace morse {
namespace {

using test::KeyerRig;
using test::roundedMs;

constexpr uint32_t kEcho = 7;
const std::string kShowSpeed = "wait window ltrim(str(cw_wpm())) + ' WPM' nowait";

struct SendKeyerTest : ::testing::Test, KeyerRig {
  SendResult send(std::optional<std::string> text, bool withEcho = true) {
    SendKeyer k(state, ports, clock, host);
    return k.run(text, withEcho ? std::optional<uint32_t>(kEcho) : std::nullopt);
  }
};

// What a text keys: its signs (key down 0x01, up 0x09 on base + 2, each element a dot or three),
// its echo and the key-up runs (element gap 88, character gap 224, word gap 145 at 15 WPM).
TEST(SendKeyer, SignsEchoAndGaps) {
  const struct {
    std::string text;
    int32_t wpm, farnsworth;
    bool echo;
    const char *symbols, *echoed;
    std::vector<int> up;
  } cases[] = {
      {"PARIS",
       15,
       0,
       true,
       ".__. ._ ._. .. ...",
       "PARIS",
       {88, 88, 88, 224, 88, 224, 88, 88, 224, 88, 224, 88, 88}},
      {"E E", 15, 0, true, ". .", "E E", {224 + 145}},  // a blank adds the word gap
      {"E E", 20, 50, true, ". .", "E E", {312}},       // a negative word gap adds nothing
      {"'AR K", 15, 0, true, "._._. _._", "'AR K", {88, 88, 88, 88, 224 + 145, 88, 88}},
      {"e{~]_t", 15, 0, true, ". _", "ET", {224}},      // lower case keyed, others skipped
      {"E[E", 15, 0, true, ". .", "E[E", {224 + 224}},  // an empty code keys only the gap
      {"EE", 15, 0, false, ". .", "", {224}},
      {"", 15, 0, true, "", "", {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    KeyerRig rig(c.wpm, c.farnsworth);
    rig.state.paused = c.text.empty();  // an empty text clears the pause
    EXPECT_EQ(SendKeyer(rig.state, rig.ports, rig.clock, rig.host)
                  .run(c.text, c.echo ? std::optional<uint32_t>(kEcho) : std::nullopt),
              SendResult::Finished);
    EXPECT_FALSE(rig.state.paused);
    EXPECT_EQ(rig.symbols(), c.symbols);
    EXPECT_EQ(rig.host.objects[kEcho], c.echoed);
    EXPECT_EQ(roundedMs(rig.runs(), false), c.up);
    for (const int ms : roundedMs(rig.runs(), true)) {
      EXPECT_TRUE(ms == rig.state.durations.dot || ms == 3 * rig.state.durations.dot) << ms;
    }
    for (const PortEvent &e : rig.ports.events) {
      EXPECT_EQ(e.port, 0x37A);
      EXPECT_TRUE(e.value == kKeyDownValue || e.value == kKeyUpValue);
    }
  }
}

// Home pauses after the word (the blank echoed), End before the next character (echoed, not
// keyed); a resume goes on from there without echoing anything twice.
TEST_F(SendKeyerTest, HomeAndEndPauseAndAResumeGoesOn) {
  host.queueKey(kKeyHome, msNow());  // read after the first character
  EXPECT_EQ(send("AB CD"), SendResult::Paused);
  EXPECT_TRUE(state.paused);
  EXPECT_EQ(host.objects[kEcho], "AB ");
  EXPECT_EQ(symbols(), "._ _...");
  EXPECT_EQ(host.commands, std::vector<std::string>{"wait window 'Pause...' nowait"});
  ports.events.clear();
  EXPECT_EQ(send(std::nullopt), SendResult::Finished);
  EXPECT_EQ(host.objects[kEcho], "AB CD");
  EXPECT_EQ(symbols(), "_._. _..");

  host.objects.clear();
  ports.events.clear();
  host.queueKey(kKeyEnd, msNow());
  EXPECT_EQ(send("A BC"), SendResult::Stopped);
  EXPECT_EQ(host.objects[kEcho], "A B");
  EXPECT_EQ(symbols(), "._");
  ports.events.clear();
  EXPECT_EQ(send(std::nullopt), SendResult::Finished);
  EXPECT_EQ(host.objects[kEcho], "A BC");
  EXPECT_EQ(symbols(), "_... _._.");

  host.commands.clear();
  ports.events.clear();
  EXPECT_EQ(send(std::nullopt), SendResult::Finished);  // nothing to resume
  EXPECT_EQ(
      host.commands,
      std::vector<std::string>{
          "WAIT WINDOW 'CW_SEND: Attempt to resume when not paused (MORSE). Press a key...'"});
  EXPECT_TRUE(ports.events.empty());
}

// A stop signal lets the key up at once, and a resume keys what it cut. "AB" at 15 WPM: A's dot
// 0-88, element gap, dash 176-440; character gap to 664.
TEST(SendKeyer, AStopSignalLetsTheKeyUpAtOnceAndAResumeKeysWhatItCut) {
  const struct {
    int signalMs;
    double lastEventMs;  // when the key went up for the last time; none before anything
    const char *resumed;
  } cases[] = {
      {0, -1, "._ _..."},
      {40, 40, "._ _..."},
      {300, 300, "._ _..."},
      {500, 440, "_..."},  // in the gap after A: A stays sent
  };
  for (const auto &c : cases) {
    KeyerRig rig;
    const uint64_t start = rig.clock.peek();
    rig.clock.signalAtMicros = start + c.signalMs * 1000u;
    EXPECT_EQ(SendKeyer(rig.state, rig.ports, rig.clock, rig.host).run("AB", kEcho),
              SendResult::Stopped);
    EXPECT_TRUE(rig.state.paused);
    EXPECT_EQ(rig.ports.events.empty(), c.lastEventMs < 0);
    if (!rig.ports.events.empty()) {
      EXPECT_EQ(rig.ports.events.back().value, kKeyUpValue) << c.signalMs;
      EXPECT_NEAR((rig.ports.events.back().micros - start) / 1000.0, c.lastEventMs, 0.05);
    }
    rig.clock.signalAtMicros = UINT64_MAX;
    rig.ports.events.clear();
    EXPECT_EQ(SendKeyer(rig.state, rig.ports, rig.clock, rig.host).run(std::nullopt, kEcho),
              SendResult::Finished);
    EXPECT_EQ(rig.symbols(), c.resumed) << c.signalMs;
    EXPECT_EQ(rig.host.objects[kEcho], "AB");  // nothing echoed twice
  }
}

// Speed keys step by two, show the speed, take effect on the next character, repeat while keys
// come, and never go below five.
TEST_F(SendKeyerTest, SpeedKeys) {
  for (int i = 0; i < 3; ++i) host.queueKey(kKeyUp, msNow());  // the second read by the change
  send("EEE");
  EXPECT_EQ(state.settings.wpm, 21);
  EXPECT_EQ(roundedMs(runs(), true), (std::vector<int>{88, 88, 1320 / 21}));
  const struct {
    int32_t wpm, downKeys, wpmAfter;
    size_t shown;
  } slower[] = {
      {9, 3, 5, 3},  // 9, 7, 5, then refused
      {6, 1, 6, 1},  // 4 is refused; the closing display still runs
  };
  for (const auto &c : slower) {
    state.settings.wpm = c.wpm;
    state.recompute();
    host.commands.clear();
    for (int i = 0; i < c.downKeys; ++i) host.queueKey(kKeyDown, msNow());
    send("EEEE");
    EXPECT_EQ(state.settings.wpm, c.wpmAfter);
    EXPECT_EQ(state.durations, computeDurations(state.settings));
    EXPECT_EQ(host.commands, std::vector<std::string>(c.shown, kShowSpeed));
  }
}

}  // namespace
}  // namespace morse
