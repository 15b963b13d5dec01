#include "numeric.hpp"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace foxhost::numeric {

std::string formatFixed(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  const bool negative = std::signbit(value);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  // buf: d.dddddddddddddde[+-]XX
  std::string digits;
  const char *p = buf;
  for (; *p && *p != 'e'; ++p) {
    if (std::isdigit(static_cast<unsigned char>(*p))) digits.push_back(*p);
  }
  const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
  int point = exponent + 1;  // digits before the decimal point
  if (point <= 0) {
    digits.insert(0, static_cast<size_t>(1 - point), '0');
    point = 1;
  }
  if (static_cast<int>(digits.size()) < point)
    digits.append(static_cast<size_t>(point) - digits.size(), '0');
  const size_t keep = static_cast<size_t>(point + decimals);
  if (digits.size() > keep) {
    const bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (up) {
      size_t i = keep;
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0) {
        digits.insert(digits.begin(), '1');
        ++point;
      } else {
        ++digits[i - 1];
      }
    }
  } else {
    digits.append(keep - digits.size(), '0');
  }
  std::string integer = digits.substr(0, static_cast<size_t>(point));
  const size_t nonZero = integer.find_first_not_of('0');
  integer = nonZero == std::string::npos ? "0" : integer.substr(nonZero);
  std::string out = integer;
  if (decimals > 0) out += "." + digits.substr(static_cast<size_t>(point));
  if (negative && out.find_first_not_of("0.") != std::string::npos) out.insert(0, "-");
  return out;
}

std::string str(double value, int length, int decimals) {
  if (length <= 0) return {};
  if (decimals < 0) decimals = 0;
  std::string text = formatFixed(value, decimals);
  while (static_cast<int>(text.size()) > length && decimals > 0) {
    --decimals;
    text = formatFixed(value, decimals);
  }
  if (static_cast<int>(text.size()) > length) return std::string(static_cast<size_t>(length), '*');
  return std::string(static_cast<size_t>(length) - text.size(), ' ') + text;
}

Parsed val(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string number;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) number.push_back(text[i++]);
  const size_t start = number.size();
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
    number.push_back(text[i++]);
  Parsed out;
  if (i < text.size() && text[i] == '.') {
    number.push_back(text[i++]);
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      number.push_back(text[i++]);
      ++out.decimals;
    }
  }
  if (number.size() == start || number.find_first_of("0123456789") == std::string::npos) {
    return {};
  }
  out.value = std::strtod(number.c_str(), nullptr);
  return out;
}

}  // namespace foxhost::numeric
