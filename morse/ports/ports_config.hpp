// How the port layer is chosen and where the simulation writes, from the environment:
//
//   MORSE_PORTS         comma-separated backends in order of preference (default
//                       "ppdev,pcspkr,sound"): direct, ppdev, pcspkr, sim,
//                       serial:DEVICE[:dtr|:rts][:ptt] (keying on DTR, the default, or RTS; with
//                       ptt, PTT on the other line), sound[:ALSA-DEVICE] (default "default").
//                       Each access goes to the first open backend that carries its port; what
//                       none carries is simulated.
//   MORSE_PARPORT       ppdev device (default: the /dev/parportN at the keying base address)
//   MORSE_PCSPKR        PC-speaker input device (default: found under /dev/input)
//   MORSE_SIDETONE      sidetone of the sound backend, Hz (default 600; 0: none)
//   MORSE_SIM_LOG       event log file: one "time_ms port value" line per port write, written
//                       as it happens
//   MORSE_SIM_WAV       WAV file of the keying sidetone and the speaker, written when the
//                       library unloads
//   MORSE_SIM_SIDETONE  sidetone frequency in the WAV, Hz (default 600)
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace morse {

enum class BackendKind { Direct, Ppdev, Pcspkr, Serial, Sound, Sim };

enum class ModemLine { Dtr, Rts };

struct SerialSettings {
  std::string device;
  ModemLine keyLine = ModemLine::Dtr;
  bool ptt = false;  // PTT on the other line
};

struct SoundSettings {
  std::string device = "default";
  uint32_t sidetoneHz = 600;  // 0: no sidetone
};

struct PortsConfig {
  std::vector<BackendKind> backends;
  std::vector<std::string> unknownNames;  // entries of MORSE_PORTS that name no backend
  std::string parportDevice;
  std::string pcspkrDevice;
  SerialSettings serial;
  SoundSettings sound;
  std::string logPath;
  std::string wavPath;
  uint32_t sidetoneHz = 600;  // in the WAV
};

using EnvLookup = std::function<const char *(const char *)>;

PortsConfig portsConfigFrom(const EnvLookup &env);

}  // namespace morse
