#include "ini/ini_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace orbelle {
namespace {

constexpr int kDoubleDigits = 15;
constexpr int kSingleDigits = 7;
constexpr std::int32_t kInt16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int32_t kInt16Max = std::numeric_limits<std::int16_t>::max();

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The longest prefix of `text` (after `start`) that forms a number, as scanned by the leading
// number rule. `body` excludes a "+" sign so that from_chars accepts it.
struct NumberScan {
  std::size_t end = 0;  // one past the last character of the number
  bool found = false;   // at least one mantissa digit
  bool negative = false;
  std::string body;         // mantissa and exponent, without sign
  long long magnitude = 0;  // decimal exponent of the first significant digit
  bool zero = true;         // every mantissa digit is 0
};

NumberScan scanNumber(std::string_view text, std::size_t pos) {
  NumberScan s;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    s.negative = text[pos] == '-';
    ++pos;
  }
  bool seenPoint = false;
  long long integerDigits = 0;  // significant digits before the point
  long long fractionZeros = 0;  // zeros after the point before the first significant digit
  std::size_t i = pos;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (isDigit(c)) {
      s.found = true;
      if (c != '0') s.zero = false;
      if (!seenPoint && !s.zero) ++integerDigits;
      if (seenPoint && s.zero) ++fractionZeros;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!s.found) return s;
  s.body.assign(text.substr(pos, i - pos));
  s.magnitude = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    std::size_t j = i + 1;
    bool expNegative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      expNegative = text[j] == '-';
      ++j;
    }
    const std::size_t digitsStart = j;
    long long exponent = 0;
    constexpr long long kExponentCap = 1'000'000;  // far beyond every type's range
    while (j < text.size() && isDigit(text[j])) {
      exponent = std::min(kExponentCap, exponent * 10 + (text[j] - '0'));
      ++j;
    }
    if (j > digitsStart) {
      s.body += 'e';
      if (expNegative) s.body += '-';
      s.body.append(text.substr(digitsStart, j - digitsStart));
      s.magnitude += expNegative ? -exponent : exponent;
      i = j;
    }
  }
  s.end = i;
  return s;
}

template <class Real>
std::optional<Real> convertScan(const NumberScan& s) {
  if (!s.found || s.zero) return s.negative ? -Real{0} : Real{0};
  Real value{};
  const char* first = s.body.data();
  const char* last = first + s.body.size();
  const auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small rounds to zero; too large has no value of this type.
    if (s.magnitude < 0) return s.negative ? -Real{0} : Real{0};
    return std::nullopt;
  }
  if (result.ec != std::errc{}) return Real{0};
  return s.negative ? -value : value;
}

std::size_t skipBlanks(std::string_view text, std::size_t pos = 0) {
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  return pos;
}

template <class Real>
std::string realText(Real value, int digits) {
  if (value == 0) return " 0";
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  std::string text(buffer, result.ptr);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return text[0] == '-' ? text : " " + text;
}

}  // namespace

double roundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff < 0.5) return lower;
  if (diff > 0.5) return lower + 1;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::string numberText(double value) { return realText(value, kDoubleDigits); }
std::string numberText(float value) { return realText(value, kSingleDigits); }

std::string numberText(std::int32_t value) {
  const std::string digits = std::to_string(value);
  return value < 0 ? digits : " " + digits;
}

std::optional<double> leadingDouble(std::string_view text) {
  return convertScan<double>(scanNumber(text, skipBlanks(text)));
}

std::optional<float> leadingSingle(std::string_view text) {
  return convertScan<float>(scanNumber(text, skipBlanks(text)));
}

std::optional<std::int32_t> decimalInteger(std::string_view text, std::int32_t min,
                                           std::int32_t max) {
  const NumberScan s = scanNumber(text, skipBlanks(text));
  if (!s.found || skipBlanks(text, s.end) != text.size()) return std::nullopt;
  const std::optional<double> value = convertScan<double>(s);
  if (!value) return std::nullopt;
  const double rounded = roundHalfEven(*value);
  if (!(rounded >= min && rounded <= max)) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

bool booleanText(std::string_view text) {
  if (text.empty()) return false;
  const char first = text[0];
  if (first == 'Y' || first == 'y' || first == 'T' || first == 't' || first == '1') return true;
  return text.size() == 2 && (text[0] == 'O' || text[0] == 'o') &&
         (text[1] == 'N' || text[1] == 'n');
}

std::string DateToIniText(DateTime date) {
  const CivilDateTime c = toCivil(date);
  char buffer[32];
  char* p = std::to_chars(buffer, buffer + sizeof buffer, c.year).ptr;
  *p++ = static_cast<char>('0' + c.month / 10);
  *p++ = static_cast<char>('0' + c.month % 10);
  *p++ = static_cast<char>('0' + c.day / 10);
  *p++ = static_cast<char>('0' + c.day % 10);
  return std::string(buffer, p);
}

std::optional<DateTime> IniTextToDate(std::string_view text) {
  auto piece = [&](std::size_t pos, std::size_t count) {
    return decimalInteger(pos < text.size() ? text.substr(pos, count) : std::string_view{},
                          kInt16Min, kInt16Max);
  };
  const auto year = piece(0, 4);
  const auto month = piece(4, 2);
  const auto day = piece(6, 2);
  if (!year || !month || !day) return std::nullopt;
  return DateSerial(*year, *month, *day);
}

}  // namespace orbelle
