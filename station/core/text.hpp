#pragma once

#include <string>
#include <string_view>
#include <vector>

// Small ASCII text helpers for the line formats the station reads (cluster lines, cty.dat, INI
// values, daemon replies). They never look at the locale.

namespace orbelle::station {

inline bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isAsciiAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool isAsciiAlnum(char c) { return isAsciiDigit(c) || isAsciiAlpha(c); }
// Space, tab and the other C0 white-space characters.
inline bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string upperAscii(std::string_view text);

// A number for messages: up to 15 significant digits, "." as separator, no trailing zeros
// (14025.5, 7023.1, 1e+20, nan).
std::string numberText(double value);

// The text for a message: control characters and bytes outside ASCII as \xNN, so that whatever
// a peer sent shows as one readable line.
std::string visibleText(std::string_view text);

// The text without white space at either end.
std::string_view trimBlanks(std::string_view text);

// The white-space separated words of a text.
std::vector<std::string_view> words(std::string_view text);

// True when `text` starts with `prefix`, ignoring ASCII case.
bool startsWithNoCase(std::string_view text, std::string_view prefix);

// A decimal number as a whole: optional sign, digits with at most one ".", at least one digit,
// nothing else (no exponent, no blanks, no locale). False, with `value` untouched, otherwise.
bool parseDecimal(std::string_view text, double& value);

// A whole decimal number in [min, max]: optional sign and digits only. False, with `value`
// untouched, otherwise.
bool parseInteger(std::string_view text, long long min, long long max, long long& value);

}  // namespace orbelle::station
