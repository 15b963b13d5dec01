#include "core/type_ahead.hpp"

namespace morse {

bool TypeAhead::push(char c) {
  if (full()) return false;
  ++write_;
  slots_[write_] = c;
  return true;
}

bool TypeAhead::dropLast() {
  if (empty()) return false;
  --write_;
  return true;
}

char TypeAhead::take() {
  ++read_;
  return slots_[read_];
}

}  // namespace morse
