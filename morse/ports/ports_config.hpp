// How the port layer is chosen and where the simulation writes, from the environment:
//
//   MORSE_PORTS         comma-separated backends in order of preference: direct, ppdev, pcspkr,
//                       sim (default "ppdev,pcspkr"). Each access goes to the first open backend
//                       that carries its port; what none carries is simulated.
//   MORSE_PARPORT       ppdev device (default: the /dev/parportN at the keying base address)
//   MORSE_PCSPKR        PC-speaker input device (default: found under /dev/input)
//   MORSE_SIM_LOG       event log file: one "time_ms port value" line per port write, brought up
//                       to date at the end of every host call
//   MORSE_SIM_WAV       WAV file of the keying sidetone and the speaker, written when the
//                       library unloads
//   MORSE_SIM_SIDETONE  sidetone frequency in the WAV, Hz (default 600)
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace morse {

enum class BackendKind { Direct, Ppdev, Pcspkr, Sim };

struct PortsConfig {
  std::vector<BackendKind> backends;
  std::vector<std::string> unknownNames;  // names in MORSE_PORTS that name no backend
  std::string parportDevice;
  std::string pcspkrDevice;
  std::string logPath;
  std::string wavPath;
  uint32_t sidetoneHz = 600;
};

using EnvLookup = std::function<const char *(const char *)>;

PortsConfig portsConfigFrom(const EnvLookup &env);

}  // namespace morse
