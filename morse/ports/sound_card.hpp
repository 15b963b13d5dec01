// The sound backend: the speaker's tones and a sidetone of the keying line, played on a sound
// card. It carries the speaker's ports (the interval timer's channel 2 and the gate at 0x61,
// emulated as the pcspkr backend does) and hears every change of the keying line, whichever
// backend keys. Each sound is a sine (the speaker at its programmed pitch, the sidetone at its
// own) with raised-cosine edges of kToneEdgeMs, mixed and played by a thread of its own in
// chunks of kSoundChunkMicros: a change is heard from the next chunk on.
#pragma once

#include <memory>
#include <string>

#include "ports/pcm_sink.hpp"
#include "ports/port_backend.hpp"

namespace morse {

inline constexpr uint32_t kSoundChunkMicros = 2500;

// The backend over any sink; `sidetoneHz` 0 plays no sidetone.
std::unique_ptr<PortBackend> makeSoundCard(std::unique_ptr<PcmSink> sink, uint32_t sidetoneHz,
                                           std::string description);

}  // namespace morse
