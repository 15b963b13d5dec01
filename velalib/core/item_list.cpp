#include "item_list.hpp"

namespace velalib {

std::string_view getItem(std::string_view delimiter, std::string_view list, int32_t index) {
  if (delimiter.empty()) return index <= 1 ? list : std::string_view{};
  const char mark = delimiter.front();
  // The list behaves as if it ended with one more delimiter, which closes the last item.
  size_t start = 0;
  for (int32_t skipped = 1; skipped < index; ++skipped) {
    const size_t next = list.find(mark, start);
    if (next == std::string_view::npos) return {};  // stepped past the closing delimiter
    start = next + 1;
  }
  const size_t end = list.find(mark, start);
  return list.substr(start, (end == std::string_view::npos ? list.size() : end) - start);
}

}  // namespace velalib
