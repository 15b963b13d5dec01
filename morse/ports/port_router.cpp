#include "ports/port_router.hpp"

#include <algorithm>
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
    case BackendKind::Serial:
      return openSerialPort(config.serial, keyingBase);
    case BackendKind::Sound:
      return openSoundCard(config.sound);
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
  for (BackendKind kind : config.backends) {
    if (kind == BackendKind::Sim) continue;
    BackendOpening opening = opener(kind, config, keyingBase);
    if (opening.backend) {
      backends_.push_back(std::move(opening.backend));
    } else {
      fail(opening.error);
    }
  }
  const PortBackend *keyer = nullptr;
  const PortBackend *sounder = nullptr;
  for (const auto &b : backends_) {
    if (!keyer && b->keys()) keyer = b.get();
    if (!sounder && b->sounds()) sounder = b.get();
  }
  notice_ = std::string("MORSE: ") +
            (keyer ? "keying on " + keyer->description() : std::string("keying simulated")) + "; " +
            (sounder ? "sound on " + sounder->description() : std::string("sound simulated"));
  if (!failures.empty()) notice_ += "; not opened: " + failures;

  if (!config.logPath.empty() || !config.wavPath.empty()) {
    recorder_.emplace();
    recorder_->setKeyingBase(keyingBase, clock_.nowMicros());
  }
  if (!config.logPath.empty()) {
    log_ = std::fopen(config.logPath.c_str(), "w");
    if (log_) {
      std::fprintf(log_, "%s\n", kEventLogHeader);
      std::fflush(log_);
    } else {
      notice_ += "; cannot write the event log " + config.logPath + ": " + std::strerror(errno);
    }
  }
}

PortRouter::~PortRouter() {
  const auto control = static_cast<uint16_t>(devices_.keyingBase() + kControlRegisterOffset);
  if (devices_.keyDown())
    out(control, static_cast<uint8_t>(devices_.read(control) | kKeyingLineBit));
  const uint8_t gate = devices_.read(kSpeakerGatePort);
  if ((gate & kSpeakerGateBits) != 0) {
    out(kSpeakerGatePort, static_cast<uint8_t>(gate & ~kSpeakerGateBits));
  }
  standBy();
  backends_.clear();
  // The host is gone by now: a failure can only go to the standard error stream.
  const std::string error = writeWav();
  if (!error.empty()) std::fprintf(stderr, "morse: cannot write the WAV file %s\n", error.c_str());
  // Last, so that a reader following the log knows at its end that the WAV is written.
  if (log_) std::fclose(log_);
}

PortBackend *PortRouter::carrier(uint16_t port) {
  for (const auto &b : backends_) {
    if (b->claims(port)) return b.get();
  }
  return nullptr;
}

void PortRouter::out(uint16_t port, uint8_t value) {
  const uint64_t micros = recorder_ ? clock_.nowMicros() : 0;
  if (PortBackend *b = carrier(port)) b->out(port, value);
  const bool wasDown = devices_.keyDown();
  devices_.write(port, value);
  if (devices_.keyDown() != wasDown) {
    for (const auto &b : backends_) b->keyLineChanged(!wasDown);
  }
  if (!recorder_) return;
  recorder_->recordWrite(micros, port, value);
  if (log_) {
    // Written as it happens, so that a reader can follow the keying live.
    std::fprintf(log_, "%s\n", formatEvent({micros, port, value}).c_str());
    std::fflush(log_);
  }
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

void PortRouter::standBy() {
  for (const auto &b : backends_) b->standBy();
}

void PortRouter::noteWordSpace(int32_t ms) { wordSpaceMs_ = std::max(wordSpaceMs_, ms); }

std::string PortRouter::writeWav() {
  if (!recorder_ || config_.wavPath.empty()) return {};
  WavOptions options;
  options.sidetoneHz = config_.sidetoneHz;
  options.tailMs = std::clamp<double>(wordSpaceMs_, options.tailMs, options.maxSilenceMs);
  const std::vector<int16_t> samples = renderSounds(recorder_->sounds(), options);
  return writeFileReplacing(config_.wavPath, encodeWav(samples, options.sampleRate));
}

}  // namespace morse
