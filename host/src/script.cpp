#include "script.hpp"

#include <cctype>

#include "text.hpp"

namespace foxhost {

size_t commentStart(const std::string &line) {
  char close = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (close) {
      if (c == close) close = 0;
      continue;
    }
    if (c == '\'' || c == '"')
      close = c;
    else if (c == '[')
      close = ']';
    else if (c == '&' && i + 1 < line.size() && line[i + 1] == '&')
      return i;
  }
  return line.size();
}

namespace {
bool isCommentLine(const std::string &line) {
  const size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  if (line[i] == '*') return true;
  size_t j = i;
  while (j < line.size() && std::isalpha(static_cast<unsigned char>(line[j]))) ++j;
  return toUpper(line.substr(i, j - i)) == "NOTE";
}
}  // namespace

bool ScriptReader::next(ScriptCommand &command) {
  std::string physical;
  command.text.clear();
  command.line = 0;
  bool continued = false;
  while (std::getline(in_, physical)) {
    ++line_;
    if (!physical.empty() && physical.back() == '\r') physical.pop_back();
    if (!continued) command.line = line_;
    if (!continued && isCommentLine(physical)) return true;
    std::string code = physical.substr(0, commentStart(physical));
    const size_t end = code.find_last_not_of(" \t");
    code = end == std::string::npos ? std::string() : code.substr(0, end + 1);
    if (!code.empty() && code.back() == ';') {
      code.pop_back();
      command.text += code + " ";
      continued = true;
      continue;
    }
    command.text += code;
    return true;
  }
  return continued;  // a last line ending in ";" still ends its command
}

}  // namespace foxhost
