// Case folding for the host's case-blind names (ASCII only, like the language's names).
#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace foxhost {

inline std::string toUpper(std::string_view s) {
  std::string out(s);
  for (char &c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

inline std::string toLower(std::string_view s) {
  std::string out(s);
  for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace foxhost
