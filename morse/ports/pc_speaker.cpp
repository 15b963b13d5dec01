// The PC speaker through the kernel's input device for it (pcspkr): the interval timer and the
// speaker gate are emulated, and each change of the tone they would produce becomes one SND_TONE
// event (the frequency in Hz, 0 for silence).
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/constants.hpp"
#include "ports/pc_devices.hpp"
#include "ports/port_backend.hpp"

namespace morse {
namespace {

constexpr const char *kPcspkrByPath = "/dev/input/by-path/platform-pcspkr-event-spkr";
constexpr int kMaxEventDevices = 64;

bool hasTone(int fd) {
  unsigned long bits[(SND_MAX + 8 * sizeof(long)) / (8 * sizeof(long))] = {};
  if (ioctl(fd, EVIOCGBIT(EV_SND, sizeof bits), bits) < 0) return false;
  return (bits[SND_TONE / (8 * sizeof(long))] >> (SND_TONE % (8 * sizeof(long)))) & 1u;
}

int openToneDevice(const std::string &path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  if (!hasTone(fd)) {
    close(fd);
    errno = ENOTSUP;
    return -1;
  }
  return fd;
}

class PcSpeaker : public PortBackend {
 public:
  PcSpeaker(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PcSpeaker() override {
    sendTone(0);
    close(fd_);
  }

  bool claims(uint16_t port) override {
    return port == kTimerChannel2Port || port == kTimerCommandPort || port == kSpeakerGatePort;
  }

  void out(uint16_t port, uint8_t value) override {
    devices_.write(port, value);
    const uint32_t hz = devices_.speakerHz();
    if (hz != sounding_) sendTone(hz);
  }

  uint8_t in(uint16_t port) override { return devices_.read(port); }
  bool keys() const override { return false; }
  bool sounds() const override { return true; }
  std::string description() const override { return "PC speaker " + path_; }

 private:
  void sendTone(uint32_t hz) {
    input_event events[2] = {};
    events[0].type = EV_SND;
    events[0].code = SND_TONE;
    events[0].value = static_cast<int32_t>(hz);
    events[1].type = EV_SYN;
    events[1].code = SYN_REPORT;
    if (write(fd_, events, sizeof events) == static_cast<ssize_t>(sizeof events)) sounding_ = hz;
  }

  int fd_;
  std::string path_;
  PcDevices devices_;
  uint32_t sounding_ = 0;
};

}  // namespace

BackendOpening openPcSpeaker(const std::string &device) {
  int fd = -1;
  std::string path = device;
  if (!device.empty()) {
    fd = openToneDevice(device);
  } else {
    path = kPcspkrByPath;
    fd = openToneDevice(path);
    for (int n = 0; fd < 0 && n < kMaxEventDevices; ++n) {
      path = "/dev/input/event" + std::to_string(n);
      fd = openToneDevice(path);
    }
  }
  if (fd < 0) {
    return {nullptr, "pcspkr: " + (device.empty() ? std::string("no input device with SND_TONE")
                                                  : device + ": " + std::strerror(errno))};
  }
  return {std::make_unique<PcSpeaker>(fd, path), {}};
}

}  // namespace morse
