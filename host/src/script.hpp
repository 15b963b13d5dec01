// Splits a script into commands: a line ending in ";" (outside strings and before an "&&"
// comment) continues on the next; lines starting with "*" or NOTE are comments.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace foxhost {

struct ScriptCommand {
  std::string text;
  size_t line = 0;  // 1-based line the command starts on
};

class ScriptReader {
 public:
  explicit ScriptReader(std::istream &in) : in_(in) {}
  // The next command; false at the end of the script.
  bool next(ScriptCommand &command);

 private:
  std::istream &in_;
  size_t line_ = 0;
};

// Where an "&&" comment starts in a line, or its length when it has none. Quotes ' " and
// brackets [ ] delimit strings.
size_t commentStart(const std::string &line);

}  // namespace foxhost
