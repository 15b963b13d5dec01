#include "core/announcer.hpp"

#include <gtest/gtest.h>

#include "core/host_commands.hpp"
#include "core/speaker.hpp"
#include "fakes.hpp"

namespace morse {
namespace {

using test::KeyRun;
using test::RecordingPorts;
using test::ScriptedHost;
using test::StepClock;

// Speaker on/off runs, replaying the writes on a model of the devices.
std::vector<KeyRun> speakerRuns(const std::vector<PortEvent> &events) {
  PcDevices devices;
  std::vector<KeyRun> runs;
  bool on = false;
  uint64_t since = 0;
  bool started = false;
  for (const PortEvent &e : events) {
    devices.write(e.port, e.value);
    const bool now = devices.speakerHz() != 0;
    if (now == on) continue;
    if (started) runs.push_back({on, (e.micros - since) / 1000.0});
    started = true;
    on = now;
    since = e.micros;
  }
  return runs;
}

struct AnnounceFixture : ::testing::Test {
  StepClock clock;
  RecordingPorts ports{clock};
  ScriptedHost host{clock};
  KeyingSettings settings;

  void say(Announcement a) { announce(a, settings, ports, clock, host); }
  void say(const std::string &text) {
    Announcement a;
    a.text = text;
    say(a);
  }
  std::vector<int> ms(bool on) { return test::roundedMs(speakerRuns(ports.events), on); }
};

TEST_F(AnnounceFixture, ProgramsTheTimerAndGateForEachElement) {
  ports.devices.write(0x61, 0x4C);  // other bits of the gate port stay as read
  ports.events.clear();
  say("E");
  ASSERT_EQ(ports.events.size(), 5u);
  const uint16_t divisor = 1193180 / 700;
  const std::vector<std::pair<uint16_t, uint8_t>> expected = {
      {0x43, 0xB6}, {0x42, divisor & 0xFF}, {0x42, divisor >> 8}, {0x61, 0x4F}, {0x61, 0x4C}};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(ports.events[i].port, expected[i].first) << i;
    EXPECT_EQ(ports.events[i].value, expected[i].second) << i;
  }
  EXPECT_EQ(ports.reads, std::vector<uint16_t>{0x61});
  EXPECT_NEAR(speakerRuns(ports.events).at(0).ms, 101.0, 0.005);
  EXPECT_TRUE(ports.events[3].micros < ports.events[4].micros);
}

// Announcement timing at 13 WPM: dot 101, dash 303, element gap 101 after every element,
// character gap 303, word gap 121; an apostrophe leaves out one character gap.
TEST_F(AnnounceFixture, ElementsAndGaps) {
  const struct {
    std::string text;
    std::vector<int> on, off;
  } cases[] = {{"ET", {101, 303}, {101 + 303}},
               {"'ETE", {101, 303, 101}, {101, 101 + 303}},
               {"E E", {101, 101}, {101 + 303 + 121 + 303}}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    ports.events.clear();
    host.commands.clear();
    say(c.text);
    EXPECT_EQ(ms(true), c.on);
    EXPECT_EQ(ms(false), c.off);
    EXPECT_EQ(host.commands,
              (std::vector<std::string>{"wait window [" + c.text + "] nowait", "wait clear"}));
  }
}

TEST_F(AnnounceFixture, ArgumentsChangeToneSpeedWeightAndDisplay) {
  Announcement a;
  a.text = "i";
  a.show = false;
  a.frequencyHz = 1000;
  a.wpm = 20;
  a.weight = 20;
  say(a);
  EXPECT_TRUE(host.commands.empty());
  EXPECT_EQ(ms(true), (std::vector<int>{55, 55}));  // trunc(66 / 1.2)
  EXPECT_EQ(ports.events[1].value, (1193180 / 1000) & 0xFF);
}

TEST_F(AnnounceFixture, AStopSignalSilencesTheSpeakerAtOnce) {
  const uint64_t start = clock.peek();
  clock.signalAtMicros = start + 300'000;  // in the dash of A (202 to 505 ms)
  say("AB");
  ASSERT_FALSE(ports.events.empty());
  EXPECT_EQ(ports.events.back().port, kSpeakerGatePort);
  EXPECT_EQ(ports.events.back().value & kSpeakerGateBits, 0);
  EXPECT_NEAR((ports.events.back().micros - start) / 1000.0, 300, 0.05);
  EXPECT_EQ(host.commands.back(), "wait clear");
}

// 1193180 / Hz, truncated, bounded to 16 bits; no tone is the largest divisor.
TEST(Speaker, DivisorIsBoundedToSixteenBits) {
  const std::pair<int32_t, uint16_t> cases[] = {{700, 1704}, {19, 62798},  {10, 0xFFFF},
                                                {0, 0xFFFF}, {-5, 0xFFFF}, {2'000'000, 1}};
  for (const auto &[hz, divisor] : cases) EXPECT_EQ(timerDivisor(hz), divisor) << hz;
}

TEST(HostCommands, ShowTextQuotesAClosingBracketSoTheCommandHolds) {
  EXPECT_EQ(showTextCommand("CQ DE X"), "wait window [CQ DE X] nowait");
  EXPECT_EQ(showTextCommand("A]B"), "wait window [A] + \"]\" + [B] nowait");
  EXPECT_EQ(showTextCommand("]]"), "wait window \"]\" + \"]\" nowait");
  EXPECT_EQ(showTextCommand("'X\"]"), "wait window ['X\"] + \"]\" nowait");
  EXPECT_EQ(noticeCommand("a 'b' [c]\n"), "wait window 'a `b` `c` ' nowait");
}

}  // namespace
}  // namespace morse
