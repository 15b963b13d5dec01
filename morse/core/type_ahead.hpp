// The type-ahead ring of CW_KBD: 256 one-byte slots with a read and a write index stepping
// modulo 256. It is empty when the indices are equal; the pending characters are those after the
// read index up to and including the write index.
//
// A ring whose indices would meet again after a push is full: it refuses the character rather
// than wrap round to "empty" and lose everything typed ahead, so at most 255 are pending.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/constants.hpp"

namespace morse {

class TypeAhead {
 public:
  bool empty() const { return read_ == write_; }
  bool full() const { return static_cast<uint8_t>(write_ + 1) == read_; }
  size_t pending() const { return static_cast<uint8_t>(write_ - read_); }

  // Stores a character after the write index; false (nothing stored) when full.
  bool push(char c);
  // Takes back the last character pushed; false when nothing is pending.
  bool dropLast();
  // The next pending character. Precondition: !empty().
  char take();
  // Discards everything pending.
  void clear() { read_ = write_; }

 private:
  static_assert(kTypeAheadSlots == 256, "indices step modulo 256 as uint8_t");
  std::array<char, kTypeAheadSlots> slots_{};
  uint8_t read_ = 0;
  uint8_t write_ = 0;
};

}  // namespace morse
