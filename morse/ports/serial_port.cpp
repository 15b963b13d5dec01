#include "ports/serial_port.hpp"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/constants.hpp"

namespace morse {
namespace {

std::string errorText(int error) {
  const char *name = strerrorname_np(error);
  return std::string(std::strerror(error)) + " (" + (name ? name : "?") + ")";
}

int bitOf(ModemLine line) { return line == ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS; }
const char *nameOf(ModemLine line) { return line == ModemLine::Dtr ? "DTR" : "RTS"; }
ModemLine otherLine(ModemLine line) {
  return line == ModemLine::Dtr ? ModemLine::Rts : ModemLine::Dtr;
}

// The modem lines of an open tty.
class TtyModemLines : public ModemLines {
 public:
  explicit TtyModemLines(int fd) : fd_(fd) {}
  ~TtyModemLines() override { close(fd_); }
  int assertLines(int bits) override { return ioctl(fd_, TIOCMBIS, &bits) == 0 ? 0 : errno; }
  int releaseLines(int bits) override { return ioctl(fd_, TIOCMBIC, &bits) == 0 ? 0 : errno; }
  int readLines(int &bits) override { return ioctl(fd_, TIOCMGET, &bits) == 0 ? 0 : errno; }

 private:
  int fd_;
};

class SerialKeyer : public PortBackend {
 public:
  SerialKeyer(std::unique_ptr<ModemLines> lines, const SerialSettings &settings, uint16_t base)
      : lines_(std::move(lines)), settings_(settings), base_(base) {}
  ~SerialKeyer() override { releaseAll(); }

  int releaseAll() { return lines_->releaseLines(keyBit() | pttBit()); }

  bool claims(uint16_t port) override { return port == control(); }

  // A failing line change (an adapter unplugged) is not retried: the line is gone.
  void out(uint16_t port, uint8_t value) override {
    if (port != control()) return;
    register_ = value;
    const bool down = (value & kKeyingLineBit) == 0;
    down_ = down;
    if (down && settings_.ptt && !pttOn_) {
      lines_->assertLines(pttBit());
      pttOn_ = true;
    }
    if (down) {
      lines_->assertLines(keyBit());
    } else {
      lines_->releaseLines(keyBit());
    }
  }

  uint8_t in(uint16_t port) override { return port == control() ? register_ : 0; }
  void setKeyingBase(uint16_t base) override { base_ = base; }

  // A key held down (OUT_P, to tune) keeps PTT with it.
  void standBy() override {
    if (!pttOn_ || down_) return;
    lines_->releaseLines(pttBit());
    pttOn_ = false;
  }

  bool keys() const override { return true; }
  bool sounds() const override { return false; }
  std::string description() const override {
    std::string d = "serial " + settings_.device + " " + nameOf(settings_.keyLine);
    if (settings_.ptt) d += std::string(", PTT on ") + nameOf(otherLine(settings_.keyLine));
    return d;
  }

 private:
  uint16_t control() const { return static_cast<uint16_t>(base_ + kControlRegisterOffset); }
  int keyBit() const { return bitOf(settings_.keyLine); }
  int pttBit() const { return settings_.ptt ? bitOf(otherLine(settings_.keyLine)) : 0; }

  std::unique_ptr<ModemLines> lines_;
  SerialSettings settings_;
  uint16_t base_;
  uint8_t register_ = kKeyUpValue;
  bool down_ = false;
  bool pttOn_ = false;
};

}  // namespace

BackendOpening makeSerialKeyer(std::unique_ptr<ModemLines> lines, const SerialSettings &settings,
                               uint16_t keyingBase) {
  const std::string where = "serial: " + settings.device + ": ";
  int bits = 0;
  if (const int error = lines->readLines(bits)) {
    return {nullptr, where + "no modem control lines: " + errorText(error)};
  }
  // Opening a tty raises DTR and RTS on most drivers: release the lines used at once (key up,
  // PTT off). A line not used is left as the driver set it; an interface may draw power from it.
  auto keyer = std::make_unique<SerialKeyer>(std::move(lines), settings, keyingBase);
  if (const int error = keyer->releaseAll()) {
    return {nullptr, where + "cannot release the keying line: " + errorText(error)};
  }
  return {std::move(keyer), {}};
}

BackendOpening openSerialPort(const SerialSettings &settings, uint16_t keyingBase) {
  const int fd = open(settings.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {nullptr, "serial: " + settings.device + ": " + errorText(errno)};
  return makeSerialKeyer(std::make_unique<TtyModemLines>(fd), settings, keyingBase);
}

}  // namespace morse
