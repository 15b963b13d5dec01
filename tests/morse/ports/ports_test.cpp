// The port layer: the simulated devices, the configuration, the router, the WAV rendering, and the
// serial and sound backends through their interfaces (modem lines as a fake ioctl layer, a sound
// card as a sink that records the samples chunk by chunk).
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <chrono>
#include <cmath>
#include <future>
#include <map>

#include "core/send_keyer.hpp"
#include "fakes.hpp"
#include "ports/port_router.hpp"
#include "ports/serial_port.hpp"
#include "ports/sound_card.hpp"
#include "ports/wav_render.hpp"

namespace morse {
namespace {

// After each write, the speaker: on while gate bits 0 and 1 are open and a divisor is loaded as the
// last timer command asked.
TEST(PcDevices, ModelsTheTimerLatchAndGate) {
  const struct {
    uint16_t port;
    uint8_t value;
    uint32_t hz;
  } steps[] = {
      {0x61, 0x03, 0},  // gate open, no divisor loaded
      {0x43, 0xB6, 0},  // channel 2, low then high byte
      {0x42, 0xA8, 0},
      {0x42, 0x06, 1193180 / 1704},
      {0x43, 0x96, 0},  // channel 2, low byte only
      {0x42, 0x10, 1193180 / 0x10},
      {0x43, 0x36, 1193180 / 0x10},  // channel 0: no effect on channel 2
      {0x61, 0x01, 0},               // data bit off
  };
  PcDevices d;
  for (const auto &s : steps) {
    d.write(s.port, s.value);
    EXPECT_EQ(d.speakerHz(), s.hz) << s.port << " " << +s.value;
  }
}

TEST(PortsConfig, ReadsBackendsAndOutputsFromTheEnvironment) {
  std::map<std::string, std::string> env = {
      {"MORSE_PORTS",
       " Sim , ppdev,bogus,serial:/dev/serial/by-path/pci-0:1:ptt:RTS,serial:,direct:x,Sound:hw:1"},
      {"MORSE_SIM_SIDETONE", "800"},
      {"MORSE_SIDETONE", "0"}};
  const auto lookup = [&env](const char *name) -> const char * {
    const auto it = env.find(name);
    return it == env.end() ? nullptr : it->second.c_str();
  };
  PortsConfig c = portsConfigFrom(lookup);
  EXPECT_EQ(c.backends, (std::vector<BackendKind>{BackendKind::Sim, BackendKind::Ppdev,
                                                  BackendKind::Serial, BackendKind::Sound}));
  EXPECT_EQ(c.unknownNames, (std::vector<std::string>{"bogus", "serial:", "direct:x"}));
  // Options come off the end of a serial entry: the device path keeps its own colons; one without
  // a device leaves the serial settings alone.
  EXPECT_EQ(c.serial.device, "/dev/serial/by-path/pci-0:1");
  EXPECT_EQ(c.serial.keyLine, ModemLine::Rts);
  EXPECT_TRUE(c.serial.ptt);
  EXPECT_EQ(c.sound.device, "hw:1");
  EXPECT_EQ(c.sound.sidetoneHz, 0u);
  EXPECT_EQ(c.sidetoneHz, 800u);

  env.clear();  // the default backends
  EXPECT_EQ(
      portsConfigFrom(lookup).backends,
      (std::vector<BackendKind>{BackendKind::Ppdev, BackendKind::Pcspkr, BackendKind::Sound}));
}

TEST(DirectPorts, TheMessageNamesTheRealError) {
  EXPECT_EQ(directAccessError(0x61, EPERM),
            "direct: no access to I/O port 0x61: Operation not permitted (EPERM); needs root or "
            "CAP_SYS_RAWIO");
}

// The notice says which backend keys and which sounds, and what could not be opened or written.
TEST(PortRouter, SaysWhatKeysWhatSoundsAndWhatFailed) {
  test::StepClock clock;
  PortsConfig config;
  config.backends = {BackendKind::Pcspkr, BackendKind::Sim};
  config.unknownNames = {"bogus"};
  config.logPath = "/nonexistent-dir/ports.log";
  const auto opener = [](BackendKind, const PortsConfig &, uint16_t) {
    return BackendOpening{nullptr, "pcspkr: none"};
  };
  EXPECT_EQ(PortRouter(config, clock, 0x378, opener).notice(),
            "MORSE: keying simulated; sound simulated; not opened: unknown port backend bogus; "
            "pcspkr: none; cannot write the event log /nonexistent-dir/ports.log: No such file or "
            "directory");
}

// Modem lines that log each change ("+DTR", "-DTR RTS") and can fail as a device would.
struct FakeLines : ModemLines {
  explicit FakeLines(std::vector<std::string> &log) : log_(log) {}
  int change(char sign, int bits, int error) {
    log_.push_back(sign + std::string(bits & TIOCM_DTR ? "DTR" : "") +
                   (bits == (TIOCM_DTR | TIOCM_RTS) ? " " : "") + (bits & TIOCM_RTS ? "RTS" : ""));
    return error;
  }
  int assertLines(int bits) override { return change('+', bits, 0); }
  int releaseLines(int bits) override { return change('-', bits, releaseError); }
  int readLines(int &bits) override {
    bits = TIOCM_DTR | TIOCM_RTS;  // as the driver leaves them when the device opens
    return readError;
  }
  int readError = 0;
  int releaseError = 0;
  std::vector<std::string> &log_;
};

// "EE" keyed, a stand-by, the keying base moved and the key held by hand (OUT_P) at the new base
// only, another stand-by, then closed: the key line follows the key; PTT on the other line is held
// from the first element to a stand-by with the key up, and released when closed.
TEST(SerialBackend, KeysOneLineAndHoldsPttOnTheOtherUntilStandBy) {
  for (const bool ptt : {true, false}) {
    std::vector<std::string> lines;
    test::StepClock clock;
    PortsConfig config;
    config.backends = {BackendKind::Serial};
    config.serial = {"/dev/ttyUSB0", ModemLine::Dtr, ptt};
    const auto opener = [&lines](BackendKind, const PortsConfig &c, uint16_t base) {
      return makeSerialKeyer(std::make_unique<FakeLines>(lines), c.serial, base);
    };
    {
      PortRouter router(config, clock, kDefaultPortBase, opener);
      EXPECT_EQ(router.notice(), std::string("MORSE: keying on serial /dev/ttyUSB0 DTR") +
                                     (ptt ? ", PTT on RTS" : "") + "; sound simulated");
      test::ScriptedHost host(clock);
      KeyerState state;
      SendKeyer(state, router, clock, host).run("EE", std::nullopt);
      router.standBy();
      router.setKeyingBase(0x278);
      router.out(0x37A, 0x01);
      router.out(0x27A, 0x01);
      EXPECT_EQ(router.in(0x27A), 0x01);  // read back from the backend that carries it
      router.standBy();
    }
    using V = std::vector<std::string>;
    const V expected = ptt ? V{"-DTR RTS", "+RTS", "+DTR", "-DTR", "+DTR", "-DTR",
                               "-RTS",     "+RTS", "+DTR", "-DTR", "-RTS", "-DTR RTS"}
                           : V{"-DTR", "+DTR", "-DTR", "+DTR", "-DTR", "+DTR", "-DTR", "-DTR"};
    EXPECT_EQ(lines, expected);
  }
}

TEST(SerialBackend, ADeviceWithoutModemLinesIsRefusedWithItsError) {
  std::vector<std::string> log;
  const SerialSettings settings{"/dev/pts/3", ModemLine::Rts, false};
  auto lines = std::make_unique<FakeLines>(log);
  lines->readError = ENOTTY;
  EXPECT_EQ(makeSerialKeyer(std::move(lines), settings, kDefaultPortBase).error,
            "serial: /dev/pts/3: no modem control lines: Inappropriate ioctl for device (ENOTTY)");
  lines = std::make_unique<FakeLines>(log);
  lines->releaseError = EIO;
  EXPECT_EQ(makeSerialKeyer(std::move(lines), settings, kDefaultPortBase).error,
            "serial: /dev/pts/3: cannot release the keying line: Input/output error (EIO)");
  EXPECT_EQ(openSerialPort({"/nonexistent/ttyUSB9"}, kDefaultPortBase).error,
            "serial: /nonexistent/ttyUSB9: No such file or directory (ENOENT)");
}

void speaker(PortBackend &b, bool on) {
  b.out(kTimerCommandPort, kTimerChannel2SquareWave);
  b.out(kTimerChannel2Port, 1704 & 0xFF);  // 700 Hz
  b.out(kTimerChannel2Port, 1704 >> 8);
  b.out(kSpeakerGatePort, on ? kSpeakerGateBits : 0);
}

// A sound card's sink at 16 kHz that, once it knows the card, records each chunk (40 samples,
// 2.5 ms) and then makes the change planned after that many chunks, on the player's own thread:
// the change is carried from the next chunk on, with no race between the test and the player.
struct PlannedSink : PcmSink {
  explicit PlannedSink(std::vector<int16_t> &samples) : samples_(samples) {}
  uint32_t sampleRate() const override { return 16000; }
  bool play(const int16_t *chunk, size_t count) override {
    PortBackend *const c = card.load();
    if (!c) return true;
    samples_.insert(samples_.end(), chunk, chunk + count);
    const size_t n = samples_.size() / count;  // chunks taken
    if (n == 1 || n == 41) speaker(*c, n == 1);
    if (n == 61 || n == 81) c->keyLineChanged(n == 61);  // whichever backend keys
    if (n == 101) done.set_value();
    return true;
  }
  void drain() override {}

  std::atomic<PortBackend *> card{nullptr};
  std::promise<void> done;
  std::vector<int16_t> &samples_;
};

// Zero crossings per second over samples [from, to).
double pitch(const std::vector<int16_t> &s, size_t from, size_t to) {
  int crossings = 0;
  for (size_t i = from + 1; i < to; ++i) crossings += (s[i - 1] < 0) != (s[i] < 0);
  return crossings * 16000.0 / 2.0 / static_cast<double>(to - from);
}

// The speaker for 40 chunks (100 ms) and the sidetone for 20 (50 ms) sound at their pitch from
// the chunk after the change, rising from nothing (the edges' shape is the WAV test's).
TEST(SoundBackend, PlaysTheSpeakerAndTheSidetoneAsSinesWithSoftEdges) {
  std::vector<int16_t> s;
  auto sink = std::make_unique<PlannedSink>(s);
  PlannedSink &planned = *sink;
  std::future<void> done = planned.done.get_future();
  auto card = makeSoundCard(std::move(sink), 600, "test card");
  EXPECT_TRUE(card->claims(kSpeakerGatePort));
  EXPECT_FALSE(card->claims(0x37A));
  planned.card = card.get();
  ASSERT_EQ(done.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  card.reset();  // plays out and ends the player: the samples are whole from here on
  std::vector<int> tones;
  for (const test::Stretch &r : test::detectTones(test::Wav{16000, s})) {
    if (r.on) tones.push_back(static_cast<int>(std::lround(r.ms)));
  }
  EXPECT_EQ(tones, (std::vector<int>{100, 50}));
  EXPECT_NEAR(pitch(s, 200, 1480), 1193180.0 / 1704, 8);
  EXPECT_NEAR(pitch(s, 61 * 40 + 160, 81 * 40 - 160), 600, 20);  // a crossing is 17 Hz here
  EXPECT_EQ(s[39], 0);  // a 4 ms edge: a quarter of the way up, 15 % (0.5 - 0.5 cos 45°)
  for (size_t i = 40; i < 56; ++i) EXPECT_LE(std::abs(s[i]), 0.147 * 0.45 * 32767) << i;
}

// The speaker sounds at its frequency with raised-cosine edges (no step larger than the sine's
// own, where a click would jump by the whole amplitude); a minute's silence shrinks to three
// seconds; a tone above half the sample rate is left silent rather than aliased.
TEST(WavRender, SpeakerToneEdgesAndSilences) {
  const WavOptions o;
  const auto samples = renderSounds(
      {{0, false, 1000}, {100'000, false, 0}, {60'000'000, false, 1000}, {60'100'000, false, 0}},
      o);
  EXPECT_LT(static_cast<double>(samples.size()) / o.sampleRate, 3.5);
  EXPECT_NEAR(pitch(samples, 1920, 2720), 1000, 20);  // 50 ms of the first tone, past its edge
  for (size_t i = 1; i < samples.size(); ++i) {
    EXPECT_LE(std::abs(samples[i] - samples[i - 1]), 0.45 * 32767 * 2 * M_PI * 1000 / 16000 + 2);
  }
  EXPECT_EQ(samples.front(), 0);
  EXPECT_EQ(samples.back(), 0);
  for (int16_t s : renderSounds({{0, false, 20000}, {50'000, false, 0}}, o)) EXPECT_EQ(s, 0);
}

}  // namespace
}  // namespace morse
