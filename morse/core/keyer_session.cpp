#include "core/keyer_session.hpp"

#include <limits>

#include "core/code_table.hpp"

namespace morse {

void KeyerSession::keyDown() {
  ports_.out(static_cast<uint16_t>(state_.portBase + kControlRegisterOffset), kKeyDownValue);
}

void KeyerSession::keyUp() {
  ports_.out(static_cast<uint16_t>(state_.portBase + kControlRegisterOffset), kKeyUpValue);
}

bool KeyerSession::waitFor(const Deadline &deadline) {
  if (!stopped_ && !deadline.wait(clock_, host_)) stopped_ = true;
  return !stopped_;
}

bool KeyerSession::keySign(std::string_view code) {
  struct KeyUpOnUnwind {
    KeyerSession *session;
    bool down = false;
    ~KeyUpOnUnwind() {
      if (down) session->keyUp();
    }
  } guard{this};

  for (size_t i = 0; i < code.size(); ++i) {
    if (i > 0 && !wait(state_.durations.elementGap)) return false;
    if (stopped_ || host_.stopRequested()) {  // never key down once a stop is asked
      stopped_ = true;
      return false;
    }
    keyDown();
    guard.down = true;
    const bool whole = wait(isDot(code[i]) ? state_.durations.dot : state_.durations.dash);
    guard.down = false;
    keyUp();
    if (!whole) return false;
  }
  return !stopped_;
}

bool KeyerSession::stepSpeed() {
  const int64_t wpm = state_.settings.wpm;
  int64_t next = wpm;
  if (state_.speedRequest > 0) next = wpm + kSpeedStepWpm;
  if (state_.speedRequest < 0) next = wpm - kSpeedStepWpm;
  if (state_.speedRequest < 0 && next < kSlowestWpm) return false;
  if (next > std::numeric_limits<int32_t>::max()) return false;
  state_.settings.wpm = static_cast<int32_t>(next);
  return true;
}

}  // namespace morse
