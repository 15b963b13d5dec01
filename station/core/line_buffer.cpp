#include "core/line_buffer.hpp"

namespace orbelle::station {

void LineBuffer::append(std::string_view bytes) {
  for (const char c : bytes) {
    if (c == '\n' && afterCr_) {
      afterCr_ = false;
      continue;
    }
    afterCr_ = c == '\r';
    if (c == '\r' || c == '\n') {
      complete_.push_back(std::move(current_));
      current_ = Line{};
    } else if (current_.text.size() < maxLineLength_) {
      current_.text.push_back(c);
    } else {
      current_.overlong = true;
    }
  }
}

std::optional<Line> LineBuffer::next() {
  if (complete_.empty()) return std::nullopt;
  Line line = std::move(complete_.front());
  complete_.pop_front();
  return line;
}

void LineBuffer::clear() {
  complete_.clear();
  current_ = Line{};
  afterCr_ = false;
}

}  // namespace orbelle::station
