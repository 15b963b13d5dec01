#include "ports/port_router.hpp"

#include <cerrno>
#include <cstring>

#include "core/constants.hpp"

namespace morse {

BackendOpening openBackend(BackendKind kind, const PortsConfig &config, uint16_t keyingBase) {
  switch (kind) {
    case BackendKind::Direct:
      return openDirectPorts(keyingBase);
    case BackendKind::Ppdev:
      return openPpdevPort(config.parportDevice, keyingBase);
    case BackendKind::Pcspkr:
      return openPcSpeaker(config.pcspkrDevice);
    case BackendKind::Sim:
      break;
  }
  return {};
}

PortRouter::PortRouter(const PortsConfig &config, Clock &clock, uint16_t keyingBase,
                       const BackendOpener &opener)
    : config_(config), clock_(clock) {
  devices_.setKeyingBase(keyingBase);
  std::string failures;
  const auto fail = [&failures](const std::string &why) {
    failures += (failures.empty() ? "" : "; ") + why;
  };
  for (const std::string &name : config.unknownNames) fail("unknown port backend " + name);
  bool hardwareRequested = !config.unknownNames.empty();
  for (BackendKind kind : config.backends) {
    if (kind == BackendKind::Sim) continue;
    hardwareRequested = true;
    BackendOpening opening = opener(kind, config, keyingBase);
    if (opening.backend) {
      backends_.push_back(std::move(opening.backend));
    } else {
      fail(opening.error);
    }
  }
  if (hardwareRequested && !failures.empty()) {
    bool keys = false;
    bool sounds = false;
    for (const auto &b : backends_) {
      keys = keys || b->keysParallelPort();
      sounds = sounds || b->soundsSpeaker();
    }
    const char *simulated = !keys && !sounds ? "the parallel port and the speaker"
                            : !keys          ? "the parallel port"
                            : !sounds        ? "the speaker"
                                             : "";
    notice_ = "MORSE: " + failures;
    if (*simulated) notice_ += std::string(" - simulating ") + simulated;
  }

  if (!config.logPath.empty() || !config.wavPath.empty()) {
    recorder_.emplace();
    recorder_->setKeyingBase(keyingBase, clock_.nowMicros());
  }
  if (!config.logPath.empty()) {
    log_ = std::fopen(config.logPath.c_str(), "w");
    if (log_) {
      std::fprintf(log_, "%s\n", kEventLogHeader);
    } else {
      notice_ += (notice_.empty() ? "MORSE: " : "; ") + std::string("cannot write the event log ") +
                 config.logPath + ": " + std::strerror(errno);
    }
  }
}

PortRouter::~PortRouter() {
  flush();
  if (log_) std::fclose(log_);
  // The host is gone by now: a failure can only go to the standard error stream.
  const std::string error = writeWav();
  if (!error.empty()) std::fprintf(stderr, "morse: cannot write the WAV file %s\n", error.c_str());
}

PortBackend *PortRouter::carrier(uint16_t port) {
  for (const auto &b : backends_) {
    if (b->claims(port)) return b.get();
  }
  return nullptr;
}

void PortRouter::out(uint16_t port, uint8_t value) {
  if (recorder_) recorder_->recordWrite(clock_.nowMicros(), port, value);
  devices_.write(port, value);
  if (PortBackend *b = carrier(port)) b->out(port, value);
}

uint8_t PortRouter::in(uint16_t port) {
  if (PortBackend *b = carrier(port)) return b->in(port);
  return devices_.read(port);
}

void PortRouter::setKeyingBase(uint16_t base) {
  devices_.setKeyingBase(base);
  if (recorder_) recorder_->setKeyingBase(base, clock_.nowMicros());
  for (const auto &b : backends_) b->setKeyingBase(base);
}

void PortRouter::flush() {
  if (!recorder_) return;
  const std::vector<PortEvent> events = recorder_->takeEvents();
  if (!log_) return;
  for (const PortEvent &e : events) std::fprintf(log_, "%s\n", formatEvent(e).c_str());
  std::fflush(log_);
}

std::string PortRouter::writeWav() {
  if (!recorder_ || config_.wavPath.empty()) return {};
  WavOptions options;
  options.sidetoneHz = config_.sidetoneHz;
  const std::vector<int16_t> samples = renderSounds(recorder_->sounds(), options);
  return writeFileReplacing(config_.wavPath, encodeWav(samples, options.sampleRate));
}

}  // namespace morse
