#include "dates.hpp"

#include <array>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <vector>

#include "text.hpp"

namespace foxhost::dates {
namespace {

enum class Order { MDY, DMY, YMD };

struct Setting {
  const char *name;
  Order order;
  char separator;
};

constexpr std::array<Setting, 11> kSettings{{
    {"AMERICAN", Order::MDY, '/'},
    {"ANSI", Order::YMD, '.'},
    {"BRITISH", Order::DMY, '/'},
    {"FRENCH", Order::DMY, '/'},
    {"GERMAN", Order::DMY, '.'},
    {"ITALIAN", Order::DMY, '-'},
    {"JAPAN", Order::YMD, '/'},
    {"USA", Order::MDY, '-'},
    {"MDY", Order::MDY, '/'},
    {"DMY", Order::DMY, '/'},
    {"YMD", Order::YMD, '/'},
}};

const Setting &lookup(const std::string &name) {
  for (const Setting &s : kSettings) {
    if (name == s.name) return s;
  }
  return kSettings[0];
}

}  // namespace

int64_t julianDay(const CivilDate &d) {
  // Gregorian calendar; every division truncates (all operands are positive here).
  const int64_t a = (14 - d.month) / 12;
  const int64_t y = d.year + 4800 - a;
  const int64_t m = d.month + 12 * a - 3;
  return d.day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

int64_t dayNumber(double value) {
  static const double kFirst = static_cast<double>(julianDay({1, 1, 1}));
  static const double kLast = static_cast<double>(julianDay({9999, 12, 31}));
  if (!(value >= kFirst && value < kLast + 1)) return 0;
  return static_cast<int64_t>(value);
}

CivilDate civilDate(int64_t jd) {
  const int64_t a = jd + 32044;
  const int64_t b = (4 * a + 3) / 146097;
  const int64_t c = a - 146097 * b / 4;
  const int64_t d = (4 * c + 3) / 1461;
  const int64_t e = c - 1461 * d / 4;
  const int64_t m = (5 * e + 2) / 153;
  CivilDate out{};
  out.day = static_cast<int32_t>(e - (153 * m + 2) / 5 + 1);
  out.month = static_cast<int32_t>(m + 3 - 12 * (m / 10));
  out.year = static_cast<int32_t>(100 * b + d - 4800 + m / 10);
  return out;
}

bool isValid(const CivilDate &d) {
  if (d.year < 1 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
  const int last = kDays[static_cast<size_t>(d.month - 1)] + (d.month == 2 && leap ? 1 : 0);
  return d.day <= last;
}

std::optional<std::string> settingName(std::string_view word) {
  const std::string w = toUpper(word);
  for (const Setting &s : kSettings) {
    if (w == s.name) return std::string(s.name);
  }
  return std::nullopt;
}

std::string format(int64_t jd, const std::string &setting) {
  const Setting &s = lookup(setting);
  const char sep = s.separator;
  char buf[32];
  if (jd <= 0) {
    const char *blank = s.order == Order::YMD ? "    %c  %c  " : "  %c  %c    ";
    std::snprintf(buf, sizeof buf, blank, sep, sep);
    return buf;
  }
  const CivilDate d = civilDate(jd);
  switch (s.order) {
    case Order::MDY:
      std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", d.month, sep, d.day, sep, d.year);
      break;
    case Order::DMY:
      std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", d.day, sep, d.month, sep, d.year);
      break;
    case Order::YMD:
      std::snprintf(buf, sizeof buf, "%04d%c%02d%c%02d", d.year, sep, d.month, sep, d.day);
      break;
  }
  return buf;
}

int64_t parse(std::string_view text, const std::string &setting) {
  std::vector<int64_t> fields;
  std::vector<size_t> digits;
  size_t i = 0;
  while (i < text.size()) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    int64_t v = 0;
    size_t n = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      if (n < 9) v = v * 10 + (text[i] - '0');
      ++n;
      ++i;
    }
    fields.push_back(v);
    digits.push_back(n);
  }
  if (fields.size() != 3) return 0;
  const Setting &s = lookup(setting);
  int64_t y = 0, m = 0, d = 0;
  size_t yearDigits = 0;
  switch (s.order) {
    case Order::MDY:
      m = fields[0], d = fields[1], y = fields[2], yearDigits = digits[2];
      break;
    case Order::DMY:
      d = fields[0], m = fields[1], y = fields[2], yearDigits = digits[2];
      break;
    case Order::YMD:
      y = fields[0], m = fields[1], d = fields[2], yearDigits = digits[0];
      break;
  }
  if (yearDigits <= 2) y += y < 50 ? 2000 : 1900;
  const CivilDate c{static_cast<int32_t>(y), static_cast<int32_t>(m), static_cast<int32_t>(d)};
  if (y > 9999 || m > 12 || d > 31 || !isValid(c)) return 0;
  return julianDay(c);
}

int64_t today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return julianDay({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday});
}

}  // namespace foxhost::dates
