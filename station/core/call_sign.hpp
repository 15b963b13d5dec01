#pragma once

#include <optional>
#include <string>
#include <string_view>

// Call signs as spots carry them, and the part of a call that tells where the station is.

namespace orbelle::station {

inline constexpr std::size_t kMaxCallSignLength = 20;

// A call sign as spotted: letters, digits and "/", at least one letter and one digit, at most
// kMaxCallSignLength characters ("ZS6AAA", "EA8/DL1ABC/P", "4U1UN").
bool isCallSignWord(std::string_view word);

// A spotter as clusters name it: a call sign, possibly with a node suffix after "-"
// ("W3LPL-2", "EA5WU-#", "DL0XX-@").
bool isSpotterWord(std::string_view word);

// The spotter's call without the node suffix: "EA5WU-#" → "EA5WU".
std::string_view withoutNodeSuffix(std::string_view spotter);

// What to look a call up by. `exact` is the whole call, upper-cased, for calls listed one by one;
// `prefixed` is the part whose prefix gives the country:
//   "DL1ABC/P" → "DL1ABC" (portable, mobile, QRP and similar suffixes say nothing of the place),
//   "EA8/DL1ABC" and "DL1ABC/EA8" → "EA8" (the shorter part names the country),
//   "W1ABC/4" → "W4ABC" (a call-area digit replaces the call's own).
// nullopt for "/MM" and "/AM" (at sea or in the air: no country) and for empty input.
struct LookupCall {
  std::string exact;
  std::string prefixed;
};
std::optional<LookupCall> lookupCall(std::string_view call);

}  // namespace orbelle::station
