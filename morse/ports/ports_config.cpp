#include "ports/ports_config.hpp"

#include <cstdlib>

namespace morse {
namespace {

constexpr const char *kDefaultBackends = "ppdev,pcspkr";
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

}  // namespace

PortsConfig portsConfigFrom(const EnvLookup &env) {
  PortsConfig config;
  std::string list = value(env, "MORSE_PORTS");
  if (trim(list).empty()) list = kDefaultBackends;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = list.find(',', start);
    const std::string name = lower(
        trim(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (name == "direct") {
      config.backends.push_back(BackendKind::Direct);
    } else if (name == "ppdev") {
      config.backends.push_back(BackendKind::Ppdev);
    } else if (name == "pcspkr") {
      config.backends.push_back(BackendKind::Pcspkr);
    } else if (name == "sim") {
      config.backends.push_back(BackendKind::Sim);
    } else if (!name.empty()) {
      config.unknownNames.push_back(name);
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  config.parportDevice = value(env, "MORSE_PARPORT");
  config.pcspkrDevice = value(env, "MORSE_PCSPKR");
  config.logPath = value(env, "MORSE_SIM_LOG");
  config.wavPath = value(env, "MORSE_SIM_WAV");
  const std::string sidetone = value(env, "MORSE_SIM_SIDETONE");
  if (!sidetone.empty()) {
    char *end = nullptr;
    const unsigned long hz = std::strtoul(sidetone.c_str(), &end, 10);
    if (end && *end == '\0' && hz > 0 && hz <= kMaxSidetoneHz)
      config.sidetoneHz = static_cast<uint32_t>(hz);
  }
  return config;
}

}  // namespace morse
