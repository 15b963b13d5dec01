#include "core/speaker.hpp"

#include "core/constants.hpp"

namespace morse {

uint16_t timerDivisor(int32_t frequencyHz) {
  if (frequencyHz <= 0) return kMaxTimerDivisor;
  const int32_t divisor = kTimerInputHz / frequencyHz;
  if (divisor < 1) return 1;
  if (divisor > kMaxTimerDivisor) return kMaxTimerDivisor;
  return static_cast<uint16_t>(divisor);
}

bool soundTone(PortIo &ports, Clock &clock, StopFlag &stop, int32_t frequencyHz,
               int32_t durationMs) {
  ports.out(kTimerCommandPort, kTimerChannel2SquareWave);
  const uint16_t divisor = timerDivisor(frequencyHz);
  ports.out(kTimerChannel2Port, static_cast<uint8_t>(divisor & 0xFF));
  ports.out(kTimerChannel2Port, static_cast<uint8_t>(divisor >> 8));
  const uint8_t gate = ports.in(kSpeakerGatePort);
  ports.out(kSpeakerGatePort, static_cast<uint8_t>(gate | kSpeakerGateBits));
  const bool whole = timedWait(clock, stop, durationMs);
  ports.out(kSpeakerGatePort, static_cast<uint8_t>(gate & ~kSpeakerGateBits));
  return whole;
}

}  // namespace morse
