// Keys from standard input: a terminal in raw mode, or any other stream (a pipe, a file) read as
// the bytes a terminal would send. The terminal's escape sequences for Home, Up, End, Down (and
// Left, Right) and Backspace become host key codes.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "foxhost/host.hpp"

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

  void setSource(KeySource source);
  // Puts a terminal into raw mode now, so that nothing typed from here on is echoed.
  void prepare();
  // The next key typed, or 0 when none is waiting. Never blocks beyond the few milliseconds an
  // escape sequence takes to arrive.
  int32_t read();

  enum class Wait { Key, Ended, Woken };
  // Blocks until a key can be read (Key), standard input has ended or there is no source
  // (Ended), or `wakeFd` (when not -1) becomes readable (Woken).
  Wait wait(int wakeFd);
  // Gives the terminal its saved mode back.
  void restore();

 private:
  bool enterRaw();
  void pull(int timeoutMillis);
  void fill();

  KeySource source_ = KeySource::None;
  bool raw_ = false;
  bool ended_ = false;
  std::string bytes_;
  std::deque<int32_t> keys_;
};

}  // namespace foxhost
