#include "core/call_sign.hpp"

#include <algorithm>
#include <array>
#include <vector>

#include "core/text.hpp"

namespace orbelle::station {
namespace {

// Suffixes that describe how a station operates, not where.
constexpr std::array<std::string_view, 8> kOperatingSuffixes{"P", "M",  "QRP", "QRPP",
                                                             "A", "LH", "B",   "R"};
// Suffixes of stations that have no country.
constexpr std::array<std::string_view, 2> kNoCountrySuffixes{"MM", "AM"};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& list, std::string_view word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

}  // namespace

bool isCallSignWord(std::string_view word) {
  if (word.empty() || word.size() > kMaxCallSignLength) return false;
  bool letter = false;
  bool digit = false;
  for (char c : word) {
    if (isAsciiDigit(c)) {
      digit = true;
    } else if (isAsciiAlpha(c)) {
      letter = true;
    } else if (c != '/') {
      return false;
    }
  }
  return letter && digit && word.front() != '/' && word.back() != '/';
}

bool isSpotterWord(std::string_view word) {
  const std::string_view call = withoutNodeSuffix(word);
  if (!isCallSignWord(call)) return false;
  if (call.size() == word.size()) return true;
  const std::string_view suffix = word.substr(call.size() + 1);
  if (suffix.empty() || suffix.size() > 4) return false;
  return std::all_of(suffix.begin(), suffix.end(),
                     [](char c) { return isAsciiAlnum(c) || c == '#' || c == '@'; });
}

std::string_view withoutNodeSuffix(std::string_view spotter) {
  return spotter.substr(0, spotter.find('-'));
}

std::optional<LookupCall> lookupCall(std::string_view call) {
  const std::string upper = upperAscii(trimBlanks(call));
  if (upper.empty()) return std::nullopt;

  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= upper.size()) {
    const std::size_t slash = std::min(upper.find('/', start), upper.size());
    if (slash > start) parts.push_back(upper.substr(start, slash - start));
    start = slash + 1;
  }
  if (parts.empty()) return std::nullopt;

  std::string areaDigit;
  std::vector<std::string> kept;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    // The first part is always the call or a prefix; only later parts can be designators.
    if (i > 0 && contains(kNoCountrySuffixes, part)) return std::nullopt;
    if (i > 0 && contains(kOperatingSuffixes, part)) continue;
    if (i > 0 && part.size() == 1 && isAsciiDigit(part[0])) {
      areaDigit = part;
      continue;
    }
    kept.push_back(part);
  }

  std::string prefixed;
  if (kept.empty()) {
    prefixed = parts.front();
  } else if (kept.size() == 1) {
    prefixed = kept.front();
  } else {
    // A prefix added before or after the home call: the shorter part, the first one on a tie.
    prefixed = *std::min_element(kept.begin(), kept.end(),
                                 [](const auto& a, const auto& b) { return a.size() < b.size(); });
  }
  if (!areaDigit.empty()) {
    const auto digit = std::find_if(prefixed.begin(), prefixed.end(), isAsciiDigit);
    if (digit != prefixed.end()) *digit = areaDigit[0];
  }
  return LookupCall{upper, prefixed};
}

}  // namespace orbelle::station
