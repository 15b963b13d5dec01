#include "windows.hpp"

namespace foxhost {

Windows::Windows() { create({0, 0, 1280, 994}); }

int32_t Windows::create(const WindowRect &rect) {
  const int32_t id = next_++;
  windows_[id].rect = rect;
  return id;
}

std::optional<int32_t> Windows::windowOfSystem(int32_t systemHandle) const {
  if (systemHandle <= 0x10000 || (systemHandle - 0x10000) % 4 != 0) return std::nullopt;
  const int32_t window = (systemHandle - 0x10000) / 4;
  if (!exists(window)) return std::nullopt;
  return window;
}

std::optional<WindowRect> Windows::rect(int32_t window) const {
  if (window == 0) return screen_;
  const auto it = windows_.find(window);
  if (it == windows_.end()) return std::nullopt;
  return it->second.rect;
}

bool Windows::setRect(int32_t window, const WindowRect &rect) {
  if (window == 0) {
    screen_ = rect;
    return true;
  }
  const auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  it->second.rect = rect;
  return true;
}

bool Windows::moveOutput(int32_t window, int32_t row, int32_t column) {
  const auto it = windows_.find(window);
  if (it == windows_.end() || row < 0 || column < 0 || row >= kMaxRows || column >= kMaxColumns) {
    return false;
  }
  it->second.row = row;
  it->second.column = column;
  return true;
}

bool Windows::put(int32_t window, std::string_view text) {
  const auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  Window &w = it->second;
  for (const char c : text) {
    if (c == '\r') {
      w.column = 0;
      continue;
    }
    if (c == '\n') {
      w.column = 0;
      if (w.row + 1 < kMaxRows) ++w.row;
      continue;
    }
    if (w.column >= kMaxColumns) continue;
    if (w.rows.size() <= static_cast<size_t>(w.row)) w.rows.resize(static_cast<size_t>(w.row) + 1);
    std::string &line = w.rows[static_cast<size_t>(w.row)];
    if (line.size() <= static_cast<size_t>(w.column))
      line.resize(static_cast<size_t>(w.column) + 1, ' ');
    line[static_cast<size_t>(w.column)] = c;
    ++w.column;
  }
  return true;
}

std::string Windows::text(int32_t window) const {
  const auto it = windows_.find(window);
  if (it == windows_.end()) return {};
  std::string out;
  for (size_t i = 0; i < it->second.rows.size(); ++i) {
    if (i) out += '\n';
    const std::string &line = it->second.rows[i];
    const size_t end = line.find_last_not_of(' ');
    if (end != std::string::npos) out += line.substr(0, end + 1);
  }
  return out;
}

}  // namespace foxhost
