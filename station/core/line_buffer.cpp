#include "core/line_buffer.hpp"

#include <algorithm>

namespace orbelle::station {

void LineBuffer::append(std::string_view bytes) {
  // Drop what has been returned before growing the buffer.
  if (start_ > 0) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
  while (!bytes.empty()) {
    if (discarding_) {
      const std::size_t end = bytes.find('\n');
      if (end == std::string_view::npos) return;
      discarding_ = false;
      bytes.remove_prefix(end + 1);
      continue;
    }
    const std::size_t end = bytes.find('\n');
    const std::size_t take = end == std::string_view::npos ? bytes.size() : end + 1;
    buffer_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    // The unfinished tail of the buffer must stay within the limit (+1 for a "\r").
    const std::size_t lastEnd = buffer_.rfind('\n');
    const std::size_t tailStart = lastEnd == std::string::npos ? 0 : lastEnd + 1;
    if (buffer_.size() - tailStart > maxLineLength_ + 1) {
      buffer_.erase(tailStart);
      ++overlong_;
      discarding_ = true;
    }
  }
}

std::optional<std::string> LineBuffer::next() {
  for (;;) {
    const std::size_t end = buffer_.find('\n', start_);
    if (end == std::string::npos) return std::nullopt;
    std::string line = buffer_.substr(start_, end - start_);
    start_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() <= maxLineLength_) return line;
    // A whole line that arrived in one piece can still be too long.
    ++overlong_;
  }
}

std::string_view LineBuffer::pending() const {
  const std::size_t lastEnd = buffer_.rfind('\n');
  const std::size_t tailStart = lastEnd == std::string::npos ? start_ : lastEnd + 1;
  return std::string_view(buffer_).substr(std::max(tailStart, start_));
}

void LineBuffer::dropPending() {
  const std::size_t lastEnd = buffer_.rfind('\n');
  buffer_.erase(lastEnd == std::string::npos ? 0 : lastEnd + 1);
  start_ = std::min(start_, buffer_.size());
}

void LineBuffer::clear() {
  buffer_.clear();
  start_ = 0;
  discarding_ = false;
}

}  // namespace orbelle::station
