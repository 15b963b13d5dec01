// The port layer as the keyer sees it: routes each access to the first open backend that
// carries its port, and simulates everything else on the emulated devices. When the simulation
// has outputs configured it records every write, whichever backend carried it.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/timed_wait.hpp"
#include "ports/pc_devices.hpp"
#include "ports/port_backend.hpp"
#include "ports/port_io.hpp"
#include "ports/port_recorder.hpp"
#include "ports/ports_config.hpp"
#include "ports/wav_render.hpp"

namespace morse {

using BackendOpener = std::function<BackendOpening(BackendKind, const PortsConfig &, uint16_t)>;

// Opens the real backends.
BackendOpening openBackend(BackendKind kind, const PortsConfig &config, uint16_t keyingBase);

class PortRouter : public PortIo {
 public:
  PortRouter(const PortsConfig &config, Clock &clock, uint16_t keyingBase,
             const BackendOpener &opener = openBackend);
  // Never closes with the key down or the speaker sounding, whatever left them so (a call cut
  // off, OUT_P): lets the key up and closes the speaker gate first, through the backends and in
  // the log. Then stands the backends by, closes them, writes the WAV file and closes the log.
  ~PortRouter() override;
  PortRouter(const PortRouter &) = delete;
  PortRouter &operator=(const PortRouter &) = delete;

  void out(uint16_t port, uint8_t value) override;
  uint8_t in(uint16_t port) override;
  void setKeyingBase(uint16_t base) override;
  void standBy() override;

  // What the operator is told once, at start: which backend keys, which sounds, and what was
  // asked for but could not be opened.
  const std::string &notice() const { return notice_; }

  // The silence between two words of what was keyed or sounded, ms. The WAV ends with the
  // longest one noted (up to its longest silence), so that a decoder can tell where the last
  // character ends.
  void noteWordSpace(int32_t ms);

  // Renders the sounds so far into the WAV file; returns an error text or "".
  std::string writeWav();

  size_t openBackendCount() const { return backends_.size(); }

 private:
  PortBackend *carrier(uint16_t port);

  PortsConfig config_;
  Clock &clock_;
  std::vector<std::unique_ptr<PortBackend>> backends_;
  PcDevices devices_;  // registers of the simulated devices, and the state of the keying line
  std::optional<PortRecorder> recorder_;
  std::FILE *log_ = nullptr;
  std::string notice_;
  int32_t wordSpaceMs_ = 0;
};

}  // namespace morse
