// Keys from the terminal: raw, non-blocking reads of standard input, with the terminal's
// escape sequences for Home, Up, End, Down (and Left, Right) and Backspace turned into host key
// codes.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace foxhost {

// Host key codes of the terminal's editing keys.
namespace keys {
constexpr int32_t kHome = 1;
constexpr int32_t kRight = 4;
constexpr int32_t kUp = 5;
constexpr int32_t kEnd = 6;
constexpr int32_t kLeft = 19;
constexpr int32_t kDown = 24;
constexpr int32_t kEscape = 27;
constexpr int32_t kBackspace = 127;
}  // namespace keys

// Takes whole keys off the front of `bytes` and appends their codes to `out`. An escape
// sequence cut short is left in `bytes` unless `final`, when a lone ESC is the Escape key.
// Sequences for other keys are dropped, and so are NUL bytes: key code 0 means no key.
void decodeTerminalKeys(std::string &bytes, std::deque<int32_t> &out, bool final);

class TerminalKeys {
 public:
  TerminalKeys() = default;
  ~TerminalKeys();
  TerminalKeys(const TerminalKeys &) = delete;
  TerminalKeys &operator=(const TerminalKeys &) = delete;

  // The next key typed, or 0 when none is waiting. Puts the terminal in raw mode on first use;
  // returns 0 at once when standard input is not a terminal.
  int32_t read();
  // Blocks until a key is typed (0 when standard input is not a terminal or has ended).
  int32_t wait();
  // Gives the terminal its saved mode back.
  void restore();

 private:
  bool enterRaw();
  void pull(int timeoutMillis);

  bool raw_ = false;
  std::string bytes_;
  std::deque<int32_t> keys_;
};

}  // namespace foxhost
