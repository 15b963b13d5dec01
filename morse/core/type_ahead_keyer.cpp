#include "core/type_ahead_keyer.hpp"

#include "core/code_table.hpp"

namespace morse {
namespace {
// Nested speed changes (a speed key read during a speed change's own keyboard pass) recurse;
// beyond this depth a speed key only sets the request, so a flood of keys cannot exhaust the
// stack.
constexpr int kMaxSpeedChangeDepth = 64;
}  // namespace

bool TypeAheadKeyer::run(bool keep) {
  KeyerState &s = state_;
  s.speedRequest = 0;
  s.stopRequested = false;
  s.paused = false;
  if (!keep) {
    s.typeAhead.clear();
    s.typedLine.clear();
  }
  join_ = 0;
  while (!s.stopRequested && !stopped()) {
    if (s.typeAhead.empty()) {
      keyboardPass();
      if (s.typeAhead.empty() && !s.stopRequested) waitForTyping();
      continue;
    }
    if (sendCharacter(s.typeAhead.take()) == Outcome::PausedAtBlank) return true;
  }
  return !s.typeAhead.empty();
}

void TypeAheadKeyer::waitForTyping() {
  ports_.standBy();
  switch (host_.waitForKey()) {
    case KeyWait::Ready:
      break;
    case KeyWait::InputEnded:  // no key can come: as the stop key
      state_.stopRequested = true;
      break;
    case KeyWait::Stop:
      markStopped();
      break;
  }
}

TypeAheadKeyer::Outcome TypeAheadKeyer::sendCharacter(char c) {
  KeyerState &s = state_;
  if (c == kJoinMark) {
    echo(sent_, c);
    join_ = 1;
    return Outcome::Continue;
  }
  const auto code = codeFor(c);
  if (!code) return Outcome::Continue;
  echo(sent_, c);
  if (join_ == 1) {
    held_ = std::string(*code);
    join_ = 2;
    return Outcome::Continue;
  }
  if (join_ == 0 && isWordSpace(*code)) {
    if (s.paused) return Outcome::PausedAtBlank;
    wait(s.durations.wordGap);
    return Outcome::Continue;
  }
  if (join_ == 2) {
    keySign(held_ + std::string(*code));
    join_ = 0;
  } else {
    keySign(*code);
  }
  if (stopped()) return Outcome::Continue;
  if (s.speedRequest != 0) changeSpeed();
  wait(s.durations.characterGap);
  return Outcome::Continue;
}

bool TypeAheadKeyer::wait(int32_t durationMs) {
  const Deadline end = Deadline::after(clock_, durationMs);
  if (durationMs > kKeyboardPassAboveMs && !stopped()) keyboardPass();
  return waitFor(end);
}

void TypeAheadKeyer::keyboardPass() {
  KeyerState &s = state_;
  while (true) {
    const int32_t key = host_.readKey();
    if (key == 0) break;
    if (key == kKeyHome) {
      if (s.typeAhead.empty()) {
        s.stopRequested = true;
      } else {
        s.paused = true;
        host_.execute(kPauseCommand);
      }
    } else if (key == kKeyUp || key == kKeyDown) {
      s.speedRequest = key == kKeyUp ? kSpeedStepWpm : -kSpeedStepWpm;
      if (s.typeAhead.empty() && speedChangeDepth_ < kMaxSpeedChangeDepth) changeSpeed();
    } else if (key == kKeyEnd) {
      s.stopRequested = true;
    } else if (key == kKeyBackspace) {
      if (s.typeAhead.dropLast()) {
        showTypedLine();
        host_.takeBackCharacter(typing_);
      }
    } else {
      const char c = toUpperAscii(static_cast<char>(key & 0xFF));
      if (!s.typeAhead.push(c)) continue;  // ring full: the key is refused
      s.typedLine += c;
      if (s.typedLine.size() >= static_cast<size_t>(kTypedLineMax)) break;
    }
  }
  showTypedLine();
}

void TypeAheadKeyer::showTypedLine() {
  if (state_.typedLine.empty()) return;
  // Cleared first: if the host fails the append, the line is not shown twice later.
  const std::string line = std::move(state_.typedLine);
  state_.typedLine.clear();
  host_.appendText(typing_, line);
}

void TypeAheadKeyer::changeSpeed() {
  ++speedChangeDepth_;
  struct DepthGuard {
    int &depth;
    ~DepthGuard() { --depth; }
  } guard{speedChangeDepth_};
  if (stepSpeed()) {
    showSpeed();
    state_.recompute();
    keyboardPass();
  }
  state_.speedRequest = 0;
  showSpeed();
}

}  // namespace morse
