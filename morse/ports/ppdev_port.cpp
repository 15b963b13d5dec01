// The keying parallel port through the kernel's ppdev driver. The port is claimed exclusively
// (PPEXCL, then PPCLAIM) for as long as the backend lives and released when it goes, which is
// when the library unloads. Writes to base + 2 become PPWCONTROL, which carries the raw control
// register byte, so the keyer's 0x01 and 0x09 reach the register unchanged.
#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "core/constants.hpp"
#include "ports/port_backend.hpp"

namespace morse {
namespace {

constexpr int kMaxParports = 8;

// The first number of /proc/sys/dev/parport/parportN/base-addr, or -1.
long parportBase(int n) {
  std::ifstream in("/proc/sys/dev/parport/parport" + std::to_string(n) + "/base-addr");
  long base = -1;
  if (!(in >> base)) return -1;
  return base;
}

std::string findDevice(uint16_t keyingBase) {
  for (int n = 0; n < kMaxParports; ++n) {
    if (parportBase(n) == keyingBase) return "/dev/parport" + std::to_string(n);
  }
  return "/dev/parport0";
}

class PpdevPort : public PortBackend {
 public:
  PpdevPort(int fd, uint16_t base, std::string path)
      : fd_(fd), base_(base), path_(std::move(path)) {}
  ~PpdevPort() override {
    ioctl(fd_, PPRELEASE);
    close(fd_);
  }

  bool claims(uint16_t port) override { return port >= base_ && port <= base_ + 2; }

  void out(uint16_t port, uint8_t value) override {
    unsigned char byte = value;
    if (port == base_) ioctl(fd_, PPWDATA, &byte);
    if (port == base_ + kControlRegisterOffset) ioctl(fd_, PPWCONTROL, &byte);
    // base + 1 is the read-only status register: a write has no effect on the hardware either.
  }

  uint8_t in(uint16_t port) override {
    unsigned char byte = 0;
    if (port == base_) ioctl(fd_, PPRDATA, &byte);
    if (port == base_ + 1) ioctl(fd_, PPRSTATUS, &byte);
    if (port == base_ + kControlRegisterOffset) ioctl(fd_, PPRCONTROL, &byte);
    return byte;
  }

  void setKeyingBase(uint16_t base) override { base_ = base; }
  bool keys() const override { return true; }
  bool sounds() const override { return false; }
  std::string description() const override { return "ppdev " + path_; }

 private:
  int fd_;
  uint16_t base_;
  std::string path_;
};

}  // namespace

BackendOpening openPpdevPort(const std::string &device, uint16_t keyingBase) {
  const std::string path = device.empty() ? findDevice(keyingBase) : device;
  const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return {nullptr, "ppdev: " + path + ": " + std::strerror(errno)};
  if (ioctl(fd, PPEXCL) != 0 || ioctl(fd, PPCLAIM) != 0) {
    const std::string error = "ppdev: cannot claim " + path + ": " + std::strerror(errno);
    close(fd);
    return {nullptr, error};
  }
  return {std::make_unique<PpdevPort>(fd, keyingBase, path), {}};
}

}  // namespace morse
