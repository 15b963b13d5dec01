#include "core/announcer.hpp"

#include <gtest/gtest.h>

#include "core/host_commands.hpp"
#include "core/speaker.hpp"
#include "fakes.hpp"

namespace morse {
namespace {

using test::KeyerRig;

// The speaker's on (or off) runs in whole ms, replaying the writes on a model of the devices.
std::vector<int> speakerMs(const std::vector<PortEvent> &events, bool on) {
  PcDevices devices;
  std::vector<test::Stretch> runs;
  const PortEvent *since = nullptr;  // the last write that switched the speaker
  for (const PortEvent &e : events) {
    const bool was = devices.speakerHz() != 0;
    devices.write(e.port, e.value);
    if (was == (devices.speakerHz() != 0)) continue;
    if (since) runs.push_back({was, (e.micros - since->micros) / 1000.0});
    since = &e;
  }
  return test::roundedMs(runs, on);
}

void say(KeyerRig &rig, const Announcement &a) {
  announce(a, rig.state.settings, rig.ports, rig.clock, rig.host);
}

// At 13 WPM: dot 101, dash 303, element gap 101 after every element, character gap 303, word gap
// 121; an apostrophe leaves out one character gap, a character without a code is skipped (the
// arguments are the library test's). A stop signal (at 300 ms, in the dash of A) silences the
// speaker at once. Each element programs the timer and opens the gate, keeping the gate port's
// other bits.
TEST(Announcer, ElementsGapsAndArguments) {
  const struct {
    Announcement a;
    std::vector<int> on, off;
    int stopMs = 0;
  } cases[] = {
      {{"E~T"}, {101, 303}, {101 + 303}},
      {{"'ETE"}, {101, 303, 101}, {101, 101 + 303}},
      {{"E E"}, {101, 101}, {101 + 303 + 121 + 303}},
      {{"AB"}, {101, 98}, {101}, 300},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.a.text);
    KeyerRig rig;
    rig.ports.devices.write(0x61, 0x4C);
    if (c.stopMs) rig.clock.signalAtMicros = rig.clock.peek() + c.stopMs * 1000;
    say(rig, c.a);
    EXPECT_EQ(speakerMs(rig.ports.events, true), c.on);
    EXPECT_EQ(speakerMs(rig.ports.events, false), c.off);
    EXPECT_EQ(rig.ports.devices.divisor(), 1193180 / c.a.frequencyHz);
    for (const PortEvent &e : rig.ports.events) {
      EXPECT_TRUE(e.port != 0x61 || (e.value & ~kSpeakerGateBits) == 0x4C) << +e.value;
    }
    EXPECT_EQ(rig.host.commands,
              (std::vector<std::string>{"wait window [" + c.a.text + "] nowait", "wait clear"}));
  }
}

// 1193180 / Hz, truncated, bounded to 16 bits; no tone is the largest divisor.
TEST(Speaker, DivisorIsBoundedToSixteenBits) {
  const std::pair<int32_t, uint16_t> cases[] = {
      {19, 62798}, {18, 0xFFFF}, {0, 0xFFFF}, {-5, 0xFFFF}, {2'000'000, 1}};
  for (const auto &[hz, divisor] : cases) EXPECT_EQ(timerDivisor(hz), divisor) << hz;
}

// A closing bracket cannot stand inside [...]: it is quoted on its own.
TEST(HostCommands, ShowTextQuotesAClosingBracketSoTheCommandHolds) {
  EXPECT_EQ(showTextCommand("A]B"), "wait window [A] + \"]\" + [B] nowait");
  EXPECT_EQ(showTextCommand("]]"), "wait window \"]\" + \"]\" nowait");
  EXPECT_EQ(showTextCommand("'X\"]"), "wait window ['X\"] + \"]\" nowait");
  EXPECT_EQ(noticeCommand("a 'b' [c]\n"), "wait window 'a `b` `c` ' nowait");
}

}  // namespace
}  // namespace morse
