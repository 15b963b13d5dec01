#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Splits a byte stream into lines ended by "\n" (a "\r" before it is dropped). A line longer
// than the limit is thrown away up to its end and counted, so a peer that never ends a line
// cannot make the buffer grow without bound.

namespace orbelle::station {

class LineBuffer {
 public:
  explicit LineBuffer(std::size_t maxLineLength) : maxLineLength_(maxLineLength) {}

  void append(std::string_view bytes);

  // The next whole line, without its line end, or nullopt when none is complete.
  std::optional<std::string> next();

  // The text after the last line end (a prompt that has no line end, say).
  std::string_view pending() const;

  // Forgets the text after the last line end (a prompt that has been answered), so that it does
  // not become the start of the next line.
  void dropPending();

  std::size_t overlongLines() const { return overlong_; }
  void clear();

 private:
  std::size_t maxLineLength_;
  std::string buffer_;
  std::size_t start_ = 0;    // first byte not yet returned
  bool discarding_ = false;  // inside an overlong line, dropping bytes up to its end
  std::size_t overlong_ = 0;
};

}  // namespace orbelle::station
