#include "core/send_keyer.hpp"

#include "core/code_table.hpp"

namespace morse {

SendResult SendKeyer::run(const std::optional<std::string> &text,
                          std::optional<uint32_t> echoObject) {
  KeyerState &s = state_;
  size_t start = 0;
  bool echoFirst = true;
  if (text) {
    s.sendText.clear();
    s.sendText.reserve(text->size());
    for (char c : *text) s.sendText += toUpperAscii(c);
    s.resumeAtPosition = false;
  } else {
    if (!s.paused) {
      host_.execute(kResumeRefusedCommand);
      return SendResult::Finished;
    }
    start = s.resumeAtPosition ? s.position : s.position + 1;
    echoFirst = !s.resumeAtPosition;
  }
  s.paused = false;
  s.stopRequested = false;
  s.speedRequest = 0;
  s.resumeAtPosition = false;

  int join = 0;
  std::string held;
  for (size_t pos = start; pos < s.sendText.size(); ++pos) {
    s.position = pos;
    const char c = s.sendText[pos];
    const bool echoThis = echoObject && (pos != start || echoFirst);
    if (c == kJoinMark) {
      if (echoThis) echo(*echoObject, c);
      join = 1;
      continue;
    }
    const auto code = codeFor(c);
    if (!code) continue;
    if (echoThis) echo(*echoObject, c);
    bool keyed = true;
    if (join == 1) {
      held = std::string(*code);
      join = 2;
    } else if (join == 2) {
      keyed = keySign(held + std::string(*code));
      join = 0;
      wait(s.durations.characterGap);
    } else if (isWordSpace(*code)) {
      if (s.paused) return SendResult::Paused;
      wait(s.durations.wordGap);
    } else {
      if (s.stopRequested) return stopAt(true);
      keyed = keySign(*code);
      if (keyed && s.speedRequest != 0) changeSpeed();
      const Deadline gapEnd = Deadline::after(clock_, s.durations.characterGap);
      const int32_t key = keyed ? host_.readKey() : 0;
      waitFor(gapEnd);
      actOnKey(key);
    }
    // Stopped by the host: a resume keys again the character it cut short.
    if (stopped()) return stopAt(!keyed);
  }
  s.paused = false;
  return SendResult::Finished;
}

SendResult SendKeyer::stopAt(bool rekey) {
  state_.paused = true;
  state_.resumeAtPosition = rekey;
  return SendResult::Stopped;
}

void SendKeyer::actOnKey(int32_t key) {
  switch (key) {
    case kKeyHome:
      state_.paused = true;
      host_.execute(kPauseCommand);
      break;
    case kKeyUp:
      state_.speedRequest = kSpeedStepWpm;
      break;
    case kKeyEnd:
      state_.stopRequested = true;
      break;
    case kKeyDown:
      state_.speedRequest = -kSpeedStepWpm;
      break;
    default:
      break;  // any other key is dropped
  }
}

void SendKeyer::changeSpeed() {
  while (stepSpeed()) {
    showSpeed();
    state_.recompute();
    const int32_t key = host_.readKey();
    if (key == kKeyUp) {
      state_.speedRequest = kSpeedStepWpm;
    } else if (key == kKeyDown) {
      state_.speedRequest = -kSpeedStepWpm;
    } else {
      break;
    }
  }
  state_.speedRequest = 0;
  showSpeed();
}

}  // namespace morse
