// The keyboard of service 62: a scripted queue of keys, each readable once the host clock has
// reached its time, and behind it standard input (a terminal or a stream; see KeySource).
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
  // Takes the first queued key whatever its time; 0 when the queue is empty.
  int32_t takeQueued();

  // Standard input, behind the scripted queue: blocks until a key can be read from it, it has
  // ended (or there is none), or `wakeFd` becomes readable.
  TerminalKeys::Wait waitInput(int wakeFd) { return keys_.wait(wakeFd); }

  void useSource(KeySource source) { keys_.setSource(source); }
  // Raw mode from the start of a library call, so that no key typed during it is echoed.
  void prepare() { keys_.prepare(); }
  // Ends raw mode between top-level commands so that the prompt reads whole lines.
  void restoreTerminal() { keys_.restore(); }

 private:
  struct Key {
    int32_t code;
    uint64_t atMillis;
  };
  std::deque<Key> queue_;
  TerminalKeys keys_;
};

}  // namespace foxhost
