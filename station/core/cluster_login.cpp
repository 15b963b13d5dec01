#include "core/cluster_login.hpp"

#include <string>

#include "core/text.hpp"

namespace orbelle::station {
namespace {

// The prompt text upper-cased, or "" when it does not end as a prompt does.
std::string promptText(std::string_view pending) {
  const std::string_view text = trimBlanks(pending);
  if (text.empty() || (text.back() != ':' && text.back() != '>')) return {};
  return upperAscii(text);
}

}  // namespace

bool isCallPrompt(std::string_view pending) {
  const std::string text = promptText(pending);
  if (text.find("PASSWORD") != std::string::npos) return false;
  return text.find("LOGIN") != std::string::npos || text.find("CALL") != std::string::npos;
}

bool isPasswordPrompt(std::string_view pending) {
  return promptText(pending).find("PASSWORD") != std::string::npos;
}

}  // namespace orbelle::station
