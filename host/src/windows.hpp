// Host windows: numbered windows with a text grid and an output position (services 44, 53),
// a system handle each (112) and a rectangle in pixels (207). Window 1 is the main window.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foxhost/host.hpp"

namespace foxhost {

class Windows {
 public:
  static constexpr int32_t kMainWindow = 1;
  static constexpr int32_t kMaxRows = 1000;
  static constexpr int32_t kMaxColumns = 1000;

  Windows();

  int32_t create(const WindowRect &rect);
  bool exists(int32_t window) const { return windows_.count(window) != 0; }

  // System handles are distinct from window numbers, so mixing them up shows.
  static int32_t systemHandle(int32_t window) { return window > 0 ? 0x10000 + window * 4 : 0; }
  std::optional<int32_t> windowOfSystem(int32_t systemHandle) const;

  // Window 0 is the screen.
  std::optional<WindowRect> rect(int32_t window) const;
  bool setRect(int32_t window, const WindowRect &rect);

  // False for an unknown window or a position outside the grid.
  bool moveOutput(int32_t window, int32_t row, int32_t column);
  // Writes at the output position and moves it on; "\r" returns to column 0, "\n" starts the
  // next row. Characters past the last column are dropped.
  bool put(int32_t window, std::string_view text);
  // The rows written so far, trailing blanks removed, joined by "\n".
  std::string text(int32_t window) const;

 private:
  struct Window {
    WindowRect rect;
    std::vector<std::string> rows;
    int32_t row = 0;
    int32_t column = 0;
  };
  std::map<int32_t, Window> windows_;
  WindowRect screen_{0, 0, 1280, 1024};
  int32_t next_ = kMainWindow;
};

}  // namespace foxhost
