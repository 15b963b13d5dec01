// The serial and sound backends through their interfaces: a serial port's modem lines as a fake
// ioctl layer, a sound card as a sink that captures the samples chunk by chunk.
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>

#include "core/constants.hpp"
#include "core/send_keyer.hpp"
#include "core/speaker.hpp"
#include "fakes.hpp"
#include "morse_decoder.hpp"
#include "ports/port_router.hpp"
#include "ports/serial_port.hpp"
#include "ports/sound_card.hpp"

namespace morse {
namespace {

using test::StepClock;

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

TEST(SerialBackend, KeysOneLineAndHoldsPttOnTheOtherUntilStandBy) {
  for (const bool ptt : {true, false}) {
    std::vector<std::string> lines;
    StepClock clock;
    PortsConfig config;
    config.backends = {BackendKind::Serial};
    config.serial = {"/dev/ttyUSB0", ModemLine::Dtr, ptt};
    const auto opener = [&lines](BackendKind, const PortsConfig &c, uint16_t base) {
      return makeSerialKeyer(std::make_unique<FakeLines>(lines), c.serial, base);
    };
    {
      PortRouter router(config, clock, kDefaultPortBase, opener);
      EXPECT_EQ(router.notice(), ptt ? "MORSE: keying on serial /dev/ttyUSB0 DTR, PTT on RTS; "
                                       "sound simulated"
                                     : "MORSE: keying on serial /dev/ttyUSB0 DTR; sound simulated");
      test::ScriptedHost host(clock);
      KeyerState state;
      SendKeyer(state, router, clock, host).run("EE", std::nullopt);
      router.standBy();         // the call ended
      router.out(0x37A, 0x01);  // a key held down by hand (OUT_P, to tune) keeps its PTT
      router.standBy();
    }  // closing lets the key up and PTT go
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

// What the player handed to the sound card. It may hand over a chunk only when the test lets
// it, so that a test can change the sound between two chunks and know which chunk carried the
// change first.
struct Capture {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<int16_t> samples;
  size_t chunks = 0;
  size_t allowed = 0;
  bool waiting = false;  // the player waits to hand over its next chunk
  size_t failAfter = SIZE_MAX;

  // Lets `n` more chunks through; true once they have gone and the player waits with the next
  // (or, `orEnd`, has ended).
  bool pass(size_t n, bool orEnd = false) {
    std::unique_lock lock(mutex);
    allowed += n;
    changed.notify_all();
    return changed.wait_for(lock, std::chrono::seconds(30),
                            [&] { return chunks >= allowed && (waiting || orEnd); });
  }
};

struct CapturingSink : PcmSink {
  explicit CapturingSink(Capture &c) : c_(c) {}
  uint32_t sampleRate() const override { return 16000; }
  bool play(const int16_t *samples, size_t count) override {
    std::unique_lock lock(c_.mutex);
    c_.waiting = true;
    c_.changed.notify_all();
    c_.changed.wait(lock, [&] { return c_.chunks < c_.allowed; });
    c_.waiting = false;
    c_.samples.insert(c_.samples.end(), samples, samples + count);
    c_.changed.notify_all();
    return ++c_.chunks < c_.failAfter;
  }
  void drain() override {}
  Capture &c_;
};

void speaker(PortBackend &b, int32_t hz, bool on) {
  const uint16_t divisor = timerDivisor(hz);
  b.out(kTimerCommandPort, kTimerChannel2SquareWave);
  b.out(kTimerChannel2Port, static_cast<uint8_t>(divisor & 0xFF));
  b.out(kTimerChannel2Port, static_cast<uint8_t>(divisor >> 8));
  b.out(kSpeakerGatePort, on ? kSpeakerGateBits : 0);
}

// Zero crossings per second over samples [from, to).
double pitch(const std::vector<int16_t> &s, size_t from, size_t to, double rate) {
  int crossings = 0;
  for (size_t i = from + 1; i < to; ++i) crossings += (s[i - 1] < 0) != (s[i] < 0);
  return crossings * rate / 2.0 / static_cast<double>(to - from);
}

TEST(SoundBackend, PlaysTheSpeakerAndTheSidetoneAsSinesWithSoftEdges) {
  Capture capture;
  const double rate = 16000;
  const size_t chunk = 40;  // kSoundChunkMicros at 16 kHz
  {
    auto card = makeSoundCard(std::make_unique<CapturingSink>(capture), 600, "test card");
    EXPECT_TRUE(card->claims(kSpeakerGatePort));
    EXPECT_FALSE(card->claims(0x37A));
    ASSERT_TRUE(capture.pass(0));  // chunk 1, silent, waits to be played
    speaker(*card, 700, true);
    ASSERT_TRUE(capture.pass(40));  // chunks 2 to 41 carry the tone: 100 ms
    speaker(*card, 700, false);
    ASSERT_TRUE(capture.pass(20));
    card->keyLineChanged(true);     // sidetone, whichever backend keys
    ASSERT_TRUE(capture.pass(20));  // 50 ms
    card->keyLineChanged(false);
    ASSERT_TRUE(capture.pass(20));
    std::lock_guard lock(capture.mutex);  // every chunk from here on, as it closes
    capture.allowed = SIZE_MAX;
    capture.changed.notify_all();
  }
  const std::vector<int16_t> &s = capture.samples;
  std::vector<double> tones;
  for (const test::ToneRun &r : test::detectTones(test::Wav{16000, s})) {
    if (r.tone) tones.push_back(r.ms);
  }
  ASSERT_EQ(tones.size(), 2u);
  EXPECT_NEAR(tones[0], 100, 0.5);
  EXPECT_NEAR(tones[1], 50, 0.5);
  EXPECT_NEAR(pitch(s, chunk + 160, chunk + 1440, rate), 1193180.0 / 1704, 8);
  EXPECT_NEAR(pitch(s, 61 * chunk + 160, 81 * chunk - 160, rate), 600, 8);
  // Raised-cosine edges: the tone starts from nothing, a quarter of the way up its edge it is
  // at 15 % (0.5 - 0.5 cos 45°), and no step between samples is larger than the sine's own.
  const double amplitude = 0.45 * 32767;
  EXPECT_EQ(s[chunk - 1], 0);
  for (size_t i = chunk; i < chunk + 16; ++i) EXPECT_LE(std::abs(s[i]), 0.147 * amplitude) << i;
  double peak = 0;
  for (size_t i = 1; i < s.size(); ++i) {
    EXPECT_LE(std::abs(s[i] - s[i - 1]), amplitude * 2 * M_PI * 700 / rate + 2) << i;
    peak = std::max(peak, std::abs(static_cast<double>(s[i])));
  }
  EXPECT_GT(peak, 0.95 * amplitude);
}

TEST(SoundBackend, ADeviceThatFailsLeavesTheBackendWorkingInSilence) {
  Capture capture;
  capture.failAfter = 3;
  auto card = makeSoundCard(std::make_unique<CapturingSink>(capture), 600, "failing card");
  ASSERT_TRUE(capture.pass(3, true));  // the third chunk fails: the player ends
  speaker(*card, 700, true);
  card->keyLineChanged(true);
  EXPECT_EQ(card->in(kSpeakerGatePort), kSpeakerGateBits);
  card.reset();  // returns at once: nothing plays any more
  EXPECT_EQ(capture.chunks, 3u);
}

}  // namespace
}  // namespace morse
