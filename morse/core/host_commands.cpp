#include "core/host_commands.hpp"

namespace morse {

std::string showTextCommand(std::string_view text) {
  std::string expr;
  if (text.find(']') == std::string_view::npos) {
    expr = "[" + std::string(text) + "]";
  } else {
    size_t start = 0;
    while (true) {
      const size_t close = text.find(']', start);
      const std::string_view run = text.substr(
          start, close == std::string_view::npos ? std::string_view::npos : close - start);
      if (!run.empty()) {
        if (!expr.empty()) expr += " + ";
        expr += "[" + std::string(run) + "]";
      }
      if (close == std::string_view::npos) break;
      if (!expr.empty()) expr += " + ";
      expr += "\"]\"";
      start = close + 1;
    }
  }
  return "wait window " + expr + " nowait";
}

std::string noticeCommand(std::string_view message) {
  std::string clean;
  for (char c : message) {
    if (c == '\'' || c == '"' || c == '[' || c == ']') c = '`';
    if (static_cast<unsigned char>(c) < 32) c = ' ';
    clean += c;
  }
  return "wait window '" + clean + "' nowait";
}

}  // namespace morse
