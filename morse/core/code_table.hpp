// The Morse code table: one code per character from blank (32) to backslash (92).
//
// A code is a run of '.' (dot) and '_' (dash); every symbol other than '.' is keyed as a dash.
// The blank's code is a single blank and stands for a word space. '[' has an empty code: it keys
// nothing but is still followed by a character gap. The apostrophe (39) has no code of its own:
// the keyers treat it as the joining mark before they look anything up.
#pragma once

#include <optional>
#include <string_view>

namespace morse {

inline constexpr char kFirstCoded = ' ';
inline constexpr char kLastCoded = '\\';
inline constexpr char kJoinMark = '\'';
inline constexpr char kDotSymbol = '.';

// True for the characters that have a table entry (32..92), the apostrophe included.
bool inCodeRange(char c);

// The code of an upper-case character in 32..92; nullopt outside that range.
std::optional<std::string_view> codeFor(char c);

// ASCII upper-casing, the same whatever the process locale.
char toUpperAscii(char c);

inline bool isDot(char symbol) { return symbol == kDotSymbol; }
inline bool isWordSpace(std::string_view code) { return code == " "; }

}  // namespace morse
