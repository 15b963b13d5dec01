#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "fakes.hpp"
#include "ports/pc_devices.hpp"
#include "ports/port_router.hpp"
#include "ports/ports_config.hpp"

namespace morse {
namespace {

// After each write: the key (down while bit 3 at base + 2 is clear) and the speaker (gate bits 0
// and 1 open and a divisor loaded as the last timer command asked; 0 loaded counts as 65536).
TEST(PcDevices, ModelsTheTimerLatchGateAndKeyingLine) {
  const struct {
    uint16_t port;
    uint8_t value;
    bool keyDown;
    uint32_t hz;
  } steps[] = {
      {0x37A, 0x01, true, 0},
      {0x37A, 0x09, false, 0},
      {0x61, 0x03, false, 0},  // gate open, no divisor loaded
      {0x43, 0xB6, false, 0},  // channel 2, low then high byte
      {0x42, 0xA8, false, 0},
      {0x42, 0x06, false, 1193180 / 1704},
      {0x61, 0x01, false, 0},  // data bit off
      {0x61, 0x03, false, 1193180 / 1704},
      {0x43, 0x96, false, 0},  // channel 2, low byte only
      {0x42, 0x10, false, 1193180 / 0x10},
      {0x43, 0x36, false, 1193180 / 0x10},  // channel 0: no effect on channel 2
      {0x43, 0xB6, false, 0},
      {0x42, 0x00, false, 0},
      {0x42, 0x00, false, 1193180 / 65536},
  };
  PcDevices d;
  for (const auto &s : steps) {
    d.write(s.port, s.value);
    EXPECT_EQ(d.keyDown(), s.keyDown) << s.port << " " << +s.value;
    EXPECT_EQ(d.speakerHz(), s.hz) << s.port << " " << +s.value;
  }
  d.write(0x37A, 0x01);
  d.setKeyingBase(0x278);
  EXPECT_FALSE(d.keyDown());  // not the keying port any more
  d.write(0x27A, 0x01);
  EXPECT_TRUE(d.keyDown());
}

TEST(PortsConfig, ReadsBackendsAndOutputsFromTheEnvironment) {
  std::map<std::string, std::string> env = {
      {"MORSE_PORTS", " Sim , ppdev,bogus,serial:/dev/serial/by-path/pci-0:1:ptt:RTS,Sound:hw:1"},
      {"MORSE_SIM_LOG", "/tmp/x.log"},
      {"MORSE_SIM_SIDETONE", "800"},
      {"MORSE_SIDETONE", "0"}};
  const auto lookup = [&env](const char *name) -> const char * {
    const auto it = env.find(name);
    return it == env.end() ? nullptr : it->second.c_str();
  };
  PortsConfig c = portsConfigFrom(lookup);
  EXPECT_EQ(c.backends, (std::vector<BackendKind>{BackendKind::Sim, BackendKind::Ppdev,
                                                  BackendKind::Serial, BackendKind::Sound}));
  EXPECT_EQ(c.unknownNames, std::vector<std::string>{"bogus"});
  // Options come off the end of a serial entry: the device path keeps its own colons.
  EXPECT_EQ(c.serial.device, "/dev/serial/by-path/pci-0:1");
  EXPECT_EQ(c.serial.keyLine, ModemLine::Rts);
  EXPECT_TRUE(c.serial.ptt);
  EXPECT_EQ(c.sound.device, "hw:1");
  EXPECT_EQ(c.sound.sidetoneHz, 0u);
  EXPECT_EQ(c.logPath, "/tmp/x.log");
  EXPECT_EQ(c.sidetoneHz, 800u);

  env = {{"MORSE_SIM_SIDETONE", "loud"}, {"MORSE_PORTS", "serial:/dev/ttyUSB0,serial:,direct:x"}};
  c = portsConfigFrom(lookup);
  EXPECT_EQ(c.backends, std::vector<BackendKind>{BackendKind::Serial});
  EXPECT_EQ(c.serial.device, "/dev/ttyUSB0");
  EXPECT_EQ(c.serial.keyLine, ModemLine::Dtr);
  EXPECT_FALSE(c.serial.ptt);
  EXPECT_EQ(c.unknownNames, (std::vector<std::string>{"serial:", "direct:x"}));
  EXPECT_EQ(c.sidetoneHz, 600u);

  env.clear();
  c = portsConfigFrom(lookup);
  EXPECT_EQ(c.backends, (std::vector<BackendKind>{BackendKind::Ppdev, BackendKind::Pcspkr,
                                                  BackendKind::Sound}));
  EXPECT_EQ(c.sound.device, "default");
  EXPECT_EQ(c.sound.sidetoneHz, 600u);
}

TEST(DirectPorts, TheMessageNamesTheRealError) {
  EXPECT_EQ(directAccessError(0x61, EPERM),
            "direct: no access to I/O port 0x61: Operation not permitted (EPERM); needs root or "
            "CAP_SYS_RAWIO");
}

// A parallel-port backend that records what reaches it.
struct FakeParallel : PortBackend {
  explicit FakeParallel(std::vector<std::pair<uint16_t, uint8_t>> &log) : log_(log) {}
  bool claims(uint16_t port) override { return port >= base_ && port <= base_ + 2; }
  void out(uint16_t port, uint8_t value) override { log_.push_back({port, value}); }
  uint8_t in(uint16_t) override { return 0x5A; }
  void setKeyingBase(uint16_t base) override { base_ = base; }
  bool keys() const override { return true; }
  bool sounds() const override { return false; }
  std::string description() const override { return "fake parallel port"; }
  std::vector<std::pair<uint16_t, uint8_t>> &log_;
  uint16_t base_ = 0x378;
};

// The notice says which backend keys and which sounds, and what could not be opened or written;
// each access goes to the backend that claims its port (it follows the keying base), the rest
// to the simulated registers.
TEST(PortRouter, RoutesWhatABackendCarriesSimulatesTheRestAndSaysSo) {
  test::StepClock clock;
  std::vector<std::pair<uint16_t, uint8_t>> reached;
  const auto opener = [&reached](BackendKind kind, const PortsConfig &, uint16_t) {
    return kind == BackendKind::Ppdev ? BackendOpening{std::make_unique<FakeParallel>(reached), {}}
                                      : BackendOpening{nullptr, "pcspkr: none"};
  };
  PortsConfig config;
  config.backends = {BackendKind::Pcspkr, BackendKind::Sim};
  config.unknownNames = {"bogus"};
  config.logPath = "/nonexistent-dir/ports.log";
  EXPECT_EQ(PortRouter(config, clock, 0x378, opener).notice(),
            "MORSE: keying simulated; sound simulated; not opened: unknown port backend bogus; "
            "pcspkr: none; cannot write the event log /nonexistent-dir/ports.log: No such file or "
            "directory");
  config = {};
  config.backends = {BackendKind::Ppdev, BackendKind::Pcspkr};
  PortRouter router(config, clock, 0x378, opener);
  EXPECT_EQ(router.notice(),
            "MORSE: keying on fake parallel port; sound simulated; not opened: pcspkr: none");
  router.out(0x37A, 0x01);
  router.out(0x61, 0x4C);
  EXPECT_EQ(router.in(0x379), 0x5A);
  EXPECT_EQ(router.in(0x61), 0x4C);
  router.setKeyingBase(0x278);
  router.out(0x37A, 0x09);
  router.out(0x27A, 0x09);
  EXPECT_EQ(reached, (std::vector<std::pair<uint16_t, uint8_t>>{{0x37A, 0x01}, {0x27A, 0x09}}));
}

// The event log is written as it goes (each clock read moves 1 us), the WAV only when closed;
// closing lets a held key up (the register's other bits kept) and closes the speaker gate.
TEST(PortRouter, WritesTheEventLogAsItGoesAndTheWavWhenClosed) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("morse-router-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  test::StepClock clock(2'000'000);
  PortsConfig config;
  config.logPath = (dir / "ports.log").string();
  config.wavPath = (dir / "keying.wav").string();
  std::ifstream log;
  std::vector<std::string> lines;
  const auto readLog = [&] {
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    log.clear();
  };
  {
    PortRouter router(config, clock, 0x378);
    log.open(config.logPath);
    router.out(0x37A, 0x01);
    clock.set(2'088'000);
    router.out(0x37A, 0x05);
    router.out(0x61, 0x4F);
    readLog();
    EXPECT_EQ(lines.size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(config.wavPath));
  }
  readLog();
  EXPECT_EQ(lines, (std::vector<std::string>{"# time_ms port value", "2000.002 0x37a 0x01",
                                             "2088.001 0x37a 0x05", "2088.002 0x061 0x4f",
                                             "2088.003 0x37a 0x0d", "2088.004 0x061 0x4c"}));
  EXPECT_GT(std::filesystem::file_size(config.wavPath), 44u);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace morse
