// The keyboard of service 62: a scripted queue of keys, each readable once the host clock has
// reached its time, and behind it (when switched on) the terminal.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "terminal.hpp"

namespace foxhost {

class Keyboard {
 public:
  // Keys are kept in time order; keys with the same time keep the order they were queued in.
  void queue(int32_t code, uint64_t atMillis);
  size_t pending() const { return queue_.size(); }
  std::optional<uint64_t> nextTime() const;

  // The next readable key at host time `nowMillis`, or 0 when none.
  int32_t read(uint64_t nowMillis);
  // Takes the first queued key whatever its time (a blocking wait on a scripted keyboard
  // reaches it); otherwise waits on the terminal when it is on; 0 when there is no key at all.
  int32_t wait();

  void useTerminal(bool on);
  bool terminalOn() const { return terminal_; }
  // Ends raw mode between top-level commands so that the prompt reads whole lines.
  void restoreTerminal() { keys_.restore(); }

 private:
  struct Key {
    int32_t code;
    uint64_t atMillis;
  };
  std::deque<Key> queue_;
  bool terminal_ = false;
  TerminalKeys keys_;
};

}  // namespace foxhost
