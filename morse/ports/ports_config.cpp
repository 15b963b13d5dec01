#include "ports/ports_config.hpp"

#include <cstdlib>

namespace morse {
namespace {

constexpr const char *kDefaultBackends = "ppdev,pcspkr,sound";
constexpr uint32_t kMaxSidetoneHz = 4000;

std::string trim(const std::string &s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

std::string lower(std::string s) {
  for (char &c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::string value(const EnvLookup &env, const char *name) {
  const char *v = env(name);
  return v ? std::string(v) : std::string();
}

// A sidetone frequency: 0 and up to kMaxSidetoneHz; anything else keeps `fallback`.
uint32_t hertz(const std::string &text, uint32_t fallback) {
  if (text.empty()) return fallback;
  char *end = nullptr;
  const unsigned long hz = std::strtoul(text.c_str(), &end, 10);
  return end && *end == '\0' && hz <= kMaxSidetoneHz ? static_cast<uint32_t>(hz) : fallback;
}

// "DEVICE[:dtr|:rts][:ptt]": the options are taken off the end, so that a device path may hold
// colons itself (/dev/serial/by-path names do). `serial` is left alone when there is no device.
bool parseSerial(std::string rest, SerialSettings &out) {
  SerialSettings serial;
  for (;;) {
    const size_t colon = rest.rfind(':');
    if (colon == std::string::npos) break;
    const std::string option = lower(rest.substr(colon + 1));
    if (option == "dtr") {
      serial.keyLine = ModemLine::Dtr;
    } else if (option == "rts") {
      serial.keyLine = ModemLine::Rts;
    } else if (option == "ptt") {
      serial.ptt = true;
    } else {
      break;
    }
    rest.erase(colon);
  }
  if (rest.empty()) return false;
  serial.device = rest;
  out = serial;
  return true;
}

}  // namespace

PortsConfig portsConfigFrom(const EnvLookup &env) {
  PortsConfig config;
  std::string list = value(env, "MORSE_PORTS");
  if (trim(list).empty()) list = kDefaultBackends;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = list.find(',', start);
    const std::string entry =
        trim(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    const size_t colon = entry.find(':');
    const std::string kind = lower(entry.substr(0, colon));
    const std::string rest = colon == std::string::npos ? "" : entry.substr(colon + 1);
    if (kind == "direct" && rest.empty()) {
      config.backends.push_back(BackendKind::Direct);
    } else if (kind == "ppdev" && rest.empty()) {
      config.backends.push_back(BackendKind::Ppdev);
    } else if (kind == "pcspkr" && rest.empty()) {
      config.backends.push_back(BackendKind::Pcspkr);
    } else if (kind == "sim" && rest.empty()) {
      config.backends.push_back(BackendKind::Sim);
    } else if (kind == "serial" && parseSerial(rest, config.serial)) {
      config.backends.push_back(BackendKind::Serial);
    } else if (kind == "sound") {
      config.backends.push_back(BackendKind::Sound);
      if (!rest.empty()) config.sound.device = rest;
    } else if (!entry.empty()) {
      config.unknownNames.push_back(entry);
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  config.parportDevice = value(env, "MORSE_PARPORT");
  config.pcspkrDevice = value(env, "MORSE_PCSPKR");
  config.sound.sidetoneHz = hertz(value(env, "MORSE_SIDETONE"), config.sound.sidetoneHz);
  config.logPath = value(env, "MORSE_SIM_LOG");
  config.wavPath = value(env, "MORSE_SIM_WAV");
  const uint32_t simTone = hertz(value(env, "MORSE_SIM_SIDETONE"), config.sidetoneHz);
  if (simTone > 0) config.sidetoneHz = simTone;
  return config;
}

}  // namespace morse
