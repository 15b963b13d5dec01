#include "core/send_keyer.hpp"

#include <gtest/gtest.h>

#include "fakes.hpp"

namespace morse {
namespace {

using test::keyedSymbols;
using test::keyingRuns;
using test::RecordingPorts;
using test::roundedMs;
using test::ScriptedHost;
using test::StepClock;

constexpr uint32_t kEcho = 7;
constexpr uint16_t kControl = 0x37A;

struct SendFixture : ::testing::Test {
  StepClock clock;
  RecordingPorts ports{clock};
  ScriptedHost host{clock};
  KeyerState state;

  SendResult send(const std::string &text, bool withEcho = true) {
    SendKeyer k(state, ports, clock, host);
    return k.run(text, withEcho ? std::optional<uint32_t>(kEcho) : std::nullopt);
  }
  SendResult resume(bool withEcho = true) {
    SendKeyer k(state, ports, clock, host);
    return k.run(std::nullopt, withEcho ? std::optional<uint32_t>(kEcho) : std::nullopt);
  }
  std::vector<test::KeyRun> runs() const { return keyingRuns(ports.events, kControl); }
  std::string symbols() const {
    return keyedSymbols(runs(), state.durations.dot, state.durations.elementGap);
  }
  uint64_t msNow() const { return clock.peek() / 1000; }
};

TEST_F(SendFixture, KeysElementsAndGapsAtTheLoadSettings) {
  EXPECT_EQ(send("PARIS"), SendResult::Finished);
  EXPECT_EQ(symbols(), ".__. ._ ._. .. ...");
  // Key down 0x01 and key up 0x09 on base + 2, nothing else.
  for (const PortEvent &e : ports.events) {
    EXPECT_EQ(e.port, kControl);
    EXPECT_TRUE(e.value == 0x01 || e.value == 0x09);
  }
  const auto down = roundedMs(runs(), true);
  for (int ms : down) EXPECT_TRUE(ms == 88 || ms == 264) << ms;
  const auto up = roundedMs(runs(), false);
  for (int ms : up) EXPECT_TRUE(ms == 88 || ms == 224) << ms;
  EXPECT_EQ(host.objects[kEcho], "PARIS");
}

// What a text keys: its signs, its echo and the key-up runs (element gap 88, character gap
// 224, word gap 145 at the load settings).
TEST(SendTexts, SignsEchoAndGaps) {
  const struct {
    const char *name;
    std::string text;
    int32_t wpm, farnsworth;
    const char *symbols, *echo;
    std::vector<int> up;
  } cases[] = {
      {"BlankAddsTheWordGap", "E E", 15, 0, ". .", "E E", {224 + 145}},
      {"NegativeWordGapAddsNothing", "E E", 20, 50, ". .", "E E", {312}},
      {"ApostropheJoinsTwoIntoOneSign",
       "'AR K",
       15,
       0,
       "._._. _._",
       "'AR K",
       {88, 88, 88, 88, 224 + 145, 88, 88}},
      {"LowerCaseKeyedOthersSkipped", "e{~]_t", 15, 0, ". _", "ET", {224}},
      {"EmptyCodeKeysOnlyTheGap", "E[E", 15, 0, ". .", "E[E", {224 + 224}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    StepClock clock;
    RecordingPorts ports(clock);
    ScriptedHost host(clock);
    KeyerState state;
    state.settings.wpm = c.wpm;
    state.settings.farnsworth = c.farnsworth;
    state.recompute();
    EXPECT_EQ(SendKeyer(state, ports, clock, host).run(c.text, kEcho), SendResult::Finished);
    const auto runs = keyingRuns(ports.events, kControl);
    EXPECT_EQ(keyedSymbols(runs, state.durations.dot, state.durations.elementGap), c.symbols);
    EXPECT_EQ(host.objects[kEcho], c.echo);
    EXPECT_EQ(roundedMs(runs, false), c.up);
  }
}

TEST_F(SendFixture, EchoNeedsTheObject) {
  send("EE", false);
  EXPECT_TRUE(host.objects.empty());
  EXPECT_EQ(symbols(), ". .");
}

TEST_F(SendFixture, EmptyTextFinishesAtOnceAndClearsThePause) {
  state.paused = true;
  EXPECT_EQ(send(""), SendResult::Finished);
  EXPECT_FALSE(state.paused);
  EXPECT_TRUE(ports.events.empty());
}

TEST_F(SendFixture, HomePausesAtTheNextBlankAndResumeGoesOnAfterIt) {
  host.queueKey(kKeyHome, msNow());  // read after the first character
  EXPECT_EQ(send("AB CD"), SendResult::Paused);
  EXPECT_TRUE(state.paused);
  EXPECT_EQ(host.objects[kEcho], "AB ");  // the word finished, the blank echoed
  EXPECT_EQ(symbols(), "._ _...");
  EXPECT_EQ(host.commands, std::vector<std::string>{"wait window 'Pause...' nowait"});

  ports.events.clear();
  EXPECT_EQ(resume(), SendResult::Finished);
  EXPECT_FALSE(state.paused);
  EXPECT_EQ(host.objects[kEcho], "AB CD");
  EXPECT_EQ(symbols(), "_._. _..");
}

TEST_F(SendFixture, ResumeWhenNotPausedIsRefused) {
  EXPECT_EQ(resume(), SendResult::Finished);
  EXPECT_EQ(
      host.commands,
      std::vector<std::string>{
          "WAIT WINDOW 'CW_SEND: Attempt to resume when not paused (MORSE). Press a key...'"});
  EXPECT_TRUE(ports.events.empty());
}

TEST_F(SendFixture, EndStopsAtTheNextNonBlankAndResumeKeysThatCharacter) {
  host.queueKey(kKeyEnd, msNow());
  EXPECT_EQ(send("A BC"), SendResult::Stopped);
  EXPECT_TRUE(state.paused);
  // The blank is sent; B is echoed but not keyed.
  EXPECT_EQ(host.objects[kEcho], "A B");
  EXPECT_EQ(symbols(), "._");

  ports.events.clear();
  EXPECT_EQ(resume(), SendResult::Finished);
  EXPECT_EQ(host.objects[kEcho], "A BC");  // B not echoed twice
  EXPECT_EQ(symbols(), "_... _._.");
}

TEST(SendStop, HostStopLetsTheKeyUpAtOnceAndAResumeKeysWhatItCut) {
  // "AB" at the load settings: A's dot 0-88, element gap, dash 176-440; character gap to 664.
  struct Case {
    int signalMs;
    double lastEventMs;  // when the key went up for the last time
    const char *resumed;
  };
  const Case cases[] = {{0, -1, "._ _..."},  // before anything: nothing keyed
                        {40, 40, "._ _..."},
                        {300, 300, "._ _..."},
                        {500, 440, "_..."}};  // in the gap after A: A stays sent
  for (const Case &c : cases) {
    StepClock clock;
    RecordingPorts ports(clock);
    ScriptedHost host(clock);
    KeyerState state;
    const uint64_t start = clock.peek();
    clock.signalAtMicros = start + c.signalMs * 1000u;
    EXPECT_EQ(SendKeyer(state, ports, clock, host).run("AB", kEcho), SendResult::Stopped);
    EXPECT_TRUE(state.paused);
    if (c.lastEventMs < 0) {
      EXPECT_TRUE(ports.events.empty());
    } else {
      ASSERT_FALSE(ports.events.empty());
      EXPECT_EQ(ports.events.back().value, kKeyUpValue) << c.signalMs;
      EXPECT_NEAR((ports.events.back().micros - start) / 1000.0, c.lastEventMs, 0.05);
    }
    clock.signalAtMicros = UINT64_MAX;
    ports.events.clear();
    EXPECT_EQ(SendKeyer(state, ports, clock, host).run(std::nullopt, kEcho), SendResult::Finished);
    EXPECT_EQ(keyedSymbols(keyingRuns(ports.events, kControl), 88, 88), c.resumed) << c.signalMs;
    EXPECT_EQ(host.objects[kEcho], "AB");  // nothing echoed twice
  }
}

TEST_F(SendFixture, SpeedKeysStepByTwoAndNeverBelowFive) {
  state.settings.wpm = 7;
  state.recompute();
  host.queueKey(kKeyDown, msNow());
  send("EEE");
  EXPECT_EQ(state.settings.wpm, 5);
  EXPECT_EQ(state.durations, computeDurations(state.settings));
  const std::string show = "wait window ltrim(str(cw_wpm())) + ' WPM' nowait";
  EXPECT_EQ(host.commands, (std::vector<std::string>{show, show}));

  // At 6 a slower step would give 4: refused, the speed stays; the closing display still runs.
  state.settings.wpm = 6;
  state.recompute();
  host.commands.clear();
  host.queueKey(kKeyDown, msNow());
  send("EEE");
  EXPECT_EQ(state.settings.wpm, 6);
  EXPECT_EQ(host.commands, std::vector<std::string>{show});
}

TEST_F(SendFixture, SpeedChangeTakesEffectOnTheNextCharacterAndRepeatsWhileKeysCome) {
  host.queueKey(kKeyUp, msNow());
  host.queueKey(kKeyUp, msNow());  // read by the speed change itself
  host.queueKey(kKeyUp, msNow());
  send("EEE");
  EXPECT_EQ(state.settings.wpm, 21);
  // Read after the first E, applied after the second is keyed, repeated while keys come.
  EXPECT_EQ(roundedMs(runs(), true), (std::vector<int>{88, 88, 1320 / 21}));
}

}  // namespace
}  // namespace morse
