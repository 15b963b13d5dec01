#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "core/send_keyer.hpp"
#include "fakes.hpp"
#include "ports/pc_devices.hpp"
#include "ports/port_router.hpp"
#include "ports/ports_config.hpp"

namespace morse {
namespace {

using test::StepClock;

TEST(PcDevices, ModelsTheTimerLatchGateAndKeyingLine) {
  PcDevices d;
  EXPECT_FALSE(d.keyDown());
  EXPECT_EQ(d.speakerHz(), 0u);
  d.write(0x37A, 0x01);
  EXPECT_TRUE(d.keyDown());
  d.write(0x37A, 0x09);
  EXPECT_FALSE(d.keyDown());
  d.setKeyingBase(0x278);
  d.write(0x37A, 0x01);
  EXPECT_FALSE(d.keyDown());  // not the keying port any more
  d.write(0x27A, 0x01);
  EXPECT_TRUE(d.keyDown());

  d.write(0x61, 0x03);
  EXPECT_EQ(d.speakerHz(), 0u);  // gate open but no divisor loaded
  d.write(0x43, 0xB6);
  d.write(0x42, 0xA8);
  EXPECT_EQ(d.speakerHz(), 0u);  // only the low byte so far
  d.write(0x42, 0x06);
  EXPECT_EQ(d.speakerHz(), 1193180u / 1704u);
  d.write(0x61, 0x01);  // data bit off
  EXPECT_EQ(d.speakerHz(), 0u);
  EXPECT_EQ(d.read(0x61), 0x01);
  d.write(0x61, 0x03);
  d.write(0x43, 0x96);  // channel 2, low byte only
  d.write(0x42, 0x10);
  EXPECT_EQ(d.divisor(), 0x10u);
  d.write(0x43, 0x36);  // channel 0: no effect on channel 2
  EXPECT_EQ(d.divisor(), 0x10u);
  d.write(0x43, 0xB6);
  d.write(0x42, 0x00);
  d.write(0x42, 0x00);
  EXPECT_EQ(d.divisor(), 65536u);  // 0 counts as 65536
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
  EXPECT_EQ(directAccessError(0x37A, ENOSYS),
            "direct: no access to I/O port 0x37a: Function not implemented (ENOSYS)");
  EXPECT_EQ(directAccessError(0x61, EPERM),
            "direct: no access to I/O port 0x61: Operation not permitted (EPERM); needs root or "
            "CAP_SYS_RAWIO");
}

// A parallel-port backend that records what reaches it.
class FakeParallel : public PortBackend {
 public:
  explicit FakeParallel(std::vector<std::pair<uint16_t, uint8_t>> &log) : log_(log) {}
  bool claims(uint16_t port) override { return port >= base_ && port <= base_ + 2; }
  void out(uint16_t port, uint8_t value) override { log_.push_back({port, value}); }
  uint8_t in(uint16_t) override { return 0x5A; }
  void setKeyingBase(uint16_t base) override { base_ = base; }
  bool keys() const override { return true; }
  bool sounds() const override { return false; }
  std::string description() const override { return "fake parallel port"; }

 private:
  std::vector<std::pair<uint16_t, uint8_t>> &log_;
  uint16_t base_ = 0x378;
};

TEST(PortRouter, SaysWhatIsSimulatedWhenHardwareIsMissing) {
  StepClock clock;
  PortsConfig config;
  config.backends = {BackendKind::Ppdev, BackendKind::Pcspkr};
  const auto failing = [](BackendKind kind, const PortsConfig &, uint16_t) {
    return BackendOpening{nullptr,
                          kind == BackendKind::Ppdev ? "ppdev: no device" : "pcspkr: none"};
  };
  PortRouter router(config, clock, 0x378, failing);
  EXPECT_EQ(router.notice(),
            "MORSE: keying simulated; sound simulated; not opened: ppdev: no device; pcspkr: none");
  router.out(0x61, 0x4C);
  EXPECT_EQ(router.in(0x61), 0x4C);  // simulated register

  config.backends = {BackendKind::Sim};
  config.logPath = "/nonexistent-dir/ports.log";
  PortRouter unwritable(config, clock, 0x378, failing);
  EXPECT_EQ(unwritable.notice(),
            "MORSE: keying simulated; sound simulated; cannot write the event log "
            "/nonexistent-dir/ports.log: No such file or directory");
}

TEST(PortRouter, RoutesThePortsABackendCarriesAndSimulatesTheRest) {
  StepClock clock;
  std::vector<std::pair<uint16_t, uint8_t>> reached;
  PortsConfig config;
  config.backends = {BackendKind::Ppdev, BackendKind::Pcspkr};
  const auto opener = [&reached](BackendKind kind, const PortsConfig &, uint16_t) {
    if (kind == BackendKind::Ppdev)
      return BackendOpening{std::make_unique<FakeParallel>(reached), {}};
    return BackendOpening{nullptr, "pcspkr: none"};
  };
  PortRouter router(config, clock, 0x378, opener);
  EXPECT_EQ(router.notice(),
            "MORSE: keying on fake parallel port; sound simulated; not opened: pcspkr: none");
  router.out(0x37A, 0x01);
  router.out(0x61, 0x03);
  EXPECT_EQ(router.in(0x379), 0x5A);
  router.setKeyingBase(0x278);
  router.out(0x37A, 0x09);  // no longer the backend's port
  router.out(0x27A, 0x09);
  EXPECT_EQ(reached, (std::vector<std::pair<uint16_t, uint8_t>>{{0x37A, 0x01}, {0x27A, 0x09}}));
}

TEST(PortRouter, WritesTheEventLogAsItGoesAndTheWavWhenClosed) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("morse-router-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  StepClock clock(2'000'000);
  PortsConfig config;
  config.backends = {BackendKind::Sim};
  config.logPath = (dir / "ports.log").string();
  config.wavPath = (dir / "keying.wav").string();
  {
    PortRouter router(config, clock, 0x378);
    router.out(0x37A, 0x01);
    clock.set(2'088'000);
    router.out(0x37A, 0x09);
    std::ifstream log(config.logPath);
    std::string header, first, second;
    std::getline(log, header);
    std::getline(log, first);
    std::getline(log, second);
    EXPECT_EQ(header, "# time_ms port value");
    EXPECT_EQ(first, "2000.002 0x37a 0x01");  // each clock read moves 1 us
    EXPECT_EQ(second, "2088.001 0x37a 0x09");
    EXPECT_FALSE(std::filesystem::exists(config.wavPath));
    router.out(0x37A, 0x05);  // left keyed (by OUT_P, say), and the speaker gate open
    router.out(0x61, 0x4F);
  }
  // Closing lets the key up, leaving the register's other bits, and closes the gate.
  std::ifstream log(config.logPath);
  std::vector<std::string> lines;
  for (std::string line; std::getline(log, line);) lines.push_back(line.substr(line.find(' ')));
  EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
            (std::vector<std::string>{" 0x37a 0x0d", " 0x061 0x4c"}));
  EXPECT_GT(std::filesystem::file_size(config.wavPath), 44u);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace morse
