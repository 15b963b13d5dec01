#include "keyboard.hpp"

#include <algorithm>

namespace foxhost {

void Keyboard::queue(int32_t code, uint64_t atMillis) {
  const auto later = std::upper_bound(queue_.begin(), queue_.end(), atMillis,
                                      [](uint64_t t, const Key &k) { return t < k.atMillis; });
  queue_.insert(later, Key{code, atMillis});
}

std::optional<uint64_t> Keyboard::nextTime() const {
  if (queue_.empty()) return std::nullopt;
  return queue_.front().atMillis;
}

int32_t Keyboard::read(uint64_t nowMillis) {
  if (!queue_.empty()) {
    if (queue_.front().atMillis > nowMillis) return 0;
    return takeQueued();
  }
  return keys_.read();
}

int32_t Keyboard::takeQueued() {
  if (queue_.empty()) return 0;
  const int32_t code = queue_.front().code;
  queue_.pop_front();
  return code;
}

}  // namespace foxhost
