// Waiting for keys, and stop signals ending those waits and the library call in progress.
#include <ctime>

#include "host_impl.hpp"
#include "signals.hpp"

namespace foxhost {

bool Host::Impl::stopRequested() const { return signals::pending() != 0; }

void Host::Impl::sleepUntilMillis(uint64_t atMillis) {
  if (options.virtualClock) {
    if (clock.nowMicros < atMillis * 1000u) clock.nowMicros = atMillis * 1000u;
    return;
  }
  timespec at{};
  at.tv_sec = static_cast<time_t>(atMillis / 1000u);
  at.tv_nsec = static_cast<long>(atMillis % 1000u) * 1000000L;
  while (!stopRequested() && clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) {
  }
}

void Host::Impl::waitForKey() {
  if (const auto at = keyboard.nextTime()) {
    sleepUntilMillis(*at);
    if (!stopRequested()) keyboard.takeQueued();
    return;
  }
  while (keyboard.waitInput(signals::wakeFd()) == TerminalKeys::Wait::Woken) {
    if (stopRequested()) return;
    signals::clear();  // woken with nothing pending: a signal already dealt with
  }
  keyboard.read(nowMillis());
}

int32_t Host::Impl::waitKey() {
  for (;;) {
    if (stopRequested()) return FOX_KEY_STOP;
    if (const auto at = keyboard.nextTime()) {
      if (*at <= nowMillis()) return FOX_KEY_READY;
      sleepUntilMillis(*at);
      continue;
    }
    switch (keyboard.waitInput(signals::wakeFd())) {
      case TerminalKeys::Wait::Key:
        return FOX_KEY_READY;
      case TerminalKeys::Wait::Ended:
        return FOX_KEY_INPUT_ENDED;
      case TerminalKeys::Wait::Woken:
        if (!stopRequested()) signals::clear();
        break;
    }
  }
}

void Host::catchSignals() { signals::catchStopSignals(); }
int Host::pendingSignal() { return signals::pending(); }

}  // namespace foxhost
