#include "core/text.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace orbelle::station {

std::string upperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string numberText(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

std::string visibleText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7f) {
      out.push_back(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", u);
      out += escaped;
    }
  }
  return out;
}

std::string_view trimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && isBlank(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !isBlank(text[i])) ++i;
    if (i > start) out.push_back(text.substr(start, i - start));
  }
  return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  return upperAscii(text.substr(0, prefix.size())) == upperAscii(prefix);
}

bool parseDecimal(std::string_view text, double& value) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  int digits = 0;
  int points = 0;
  for (std::size_t j = i; j < text.size(); ++j) {
    if (isAsciiDigit(text[j])) {
      ++digits;
    } else if (text[j] == '.') {
      if (++points > 1) return false;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  // from_chars does not take a leading "+"; it reads "." numbers in the C locale.
  const std::string_view body = text[0] == '+' ? text.substr(1) : text;
  double parsed = 0.0;
  const auto result = std::from_chars(body.data(), body.data() + body.size(), parsed);
  if (result.ec != std::errc() || result.ptr != body.data() + body.size()) return false;
  if (!std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool parseInteger(std::string_view text, long long min, long long max, long long& value) {
  const std::string_view body = !text.empty() && text[0] == '+' ? text.substr(1) : text;
  if (body.empty() || body[0] == '+' || (body[0] == '-' && text[0] == '+')) return false;
  long long parsed = 0;
  const auto result = std::from_chars(body.data(), body.data() + body.size(), parsed);
  if (result.ec != std::errc() || result.ptr != body.data() + body.size()) return false;
  if (parsed < min || parsed > max) return false;
  value = parsed;
  return true;
}

}  // namespace orbelle::station
