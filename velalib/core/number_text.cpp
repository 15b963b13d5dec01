#include "number_text.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace velalib {

namespace {

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Skips white space and reads an optional sign; returns the position after them.
size_t readSign(std::string_view text, bool &negative) {
  size_t i = 0;
  while (i < text.size() && isCSpace(text[i])) ++i;
  negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  return i;
}

}  // namespace

int32_t parseWholeNumber(std::string_view text) {
  bool negative = false;
  size_t i = readSign(text, negative);
  // Accumulate the magnitude in 64 bits and stop growing once it is past the 32-bit range.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + (text[i] - '0');
  }
  if (negative) {
    return magnitude >= kLimit ? std::numeric_limits<int32_t>::min()
                               : static_cast<int32_t>(-magnitude);
  }
  return magnitude >= kLimit ? std::numeric_limits<int32_t>::max()
                             : static_cast<int32_t>(magnitude);
}

double parseDecimalNumber(std::string_view text) {
  bool negative = false;
  const size_t start = readSign(text, negative);
  size_t i = start;
  size_t digits = 0;
  // The decimal exponent of the leading significant digit tells overflow from underflow.
  bool seenSignificant = false;
  int64_t integerDigits = 0;
  for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
    if (text[i] != '0' || seenSignificant) {
      if (!seenSignificant) seenSignificant = true;
      ++integerDigits;
    }
  }
  int64_t leadingFractionZeros = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
      if (!seenSignificant) {
        if (text[i] == '0') {
          ++leadingFractionZeros;
        } else {
          seenSignificant = true;
        }
      }
    }
  }
  if (digits == 0) return 0.0;
  size_t end = i;
  int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      negativeExponent = text[j] == '-';
      ++j;
    }
    if (j < text.size() && isDigit(text[j])) {
      for (; j < text.size() && isDigit(text[j]); ++j) {
        if (exponent < 100000000) exponent = exponent * 10 + (text[j] - '0');
      }
      if (negativeExponent) exponent = -exponent;
      end = j;
    }
  }
  if (!seenSignificant) return negative ? -0.0 : 0.0;
  const int64_t leadExponent =
      (integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1)) + exponent;

  // from_chars reads the unsigned part; the sign is applied afterwards.
  double value = 0.0;
  const char *first = text.data() + start;
  const char *last = text.data() + end;
  const auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = leadExponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc{}) {
    value = 0.0;
  }
  return negative ? -value : value;
}

}  // namespace velalib
