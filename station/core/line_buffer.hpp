#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

// Splits a byte stream into lines. A line ends with LF, CR or CR LF (clusters behind some telnet
// servers end lines with CR alone); a CR LF pair split across reads still ends one line. A line
// longer than the limit keeps its first `maxLineLength` bytes, is marked overlong and its rest is
// thrown away up to its end, so a peer that never ends a line cannot make the buffer grow.

namespace orbelle::station {

struct Line {
  std::string text;       // without its line end; cut at the limit when overlong
  bool overlong = false;  // the line was longer than the limit
};

class LineBuffer {
 public:
  explicit LineBuffer(std::size_t maxLineLength) : maxLineLength_(maxLineLength) {}

  void append(std::string_view bytes);

  // The next whole line, or nullopt when none is complete.
  std::optional<Line> next();

  // The text after the last line end (a prompt that has no line end, say).
  std::string_view pending() const { return current_.text; }

  // Forgets the text after the last line end (a prompt that has been answered), so that it does
  // not become the start of the next line.
  void dropPending() { current_ = Line{}; }

  void clear();

 private:
  std::size_t maxLineLength_;
  std::deque<Line> complete_;
  Line current_;
  bool afterCr_ = false;  // the last byte ended a line with CR: an LF right after it belongs to it
};

}  // namespace orbelle::station
