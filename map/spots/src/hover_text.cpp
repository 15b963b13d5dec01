#include "spots/hover_text.hpp"

#include <array>
#include <charconv>
#include <cmath>

namespace orbelle::spots {
namespace {

constexpr int kSignificantDigits = 15;

}  // namespace

std::string_view trimBlanks(std::string_view text) noexcept {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string generalNumberText(double value, std::string_view decimalSeparator) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  if (value == 0.0) return "0";

  // to_chars ignores the C locale (which a Qt program sets from the environment), so "." and
  // "e" are the only symbols to replace. The general format drops trailing zeros itself.
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, kSignificantDigits);
  std::string text;
  text.reserve(32);
  for (const char* c = buffer.data(); c != result.ptr; ++c) {
    if (*c == '.') {
      text += decimalSeparator;
    } else if (*c == 'e') {
      text += 'E';
    } else {
      text += *c;
    }
  }
  return text;
}

std::string spotHoverText(const SpotArgs& spot, std::string_view decimalSeparator) {
  std::string text;
  text.reserve(96);
  text += trimBlanks(spot.SpotCall);
  text += " (by ";
  text += trimBlanks(spot.SpotBy);
  text += ") ";
  text += generalNumberText(spot.SpotFreq, decimalSeparator);
  text += ' ';
  text += trimBlanks(spot.Mode);
  text += ' ';
  text += spot.SpotTime;
  text += ' ';
  text += trimBlanks(spot.SpotComment);
  text += ", ";
  text += trimBlanks(spot.SpotLoc);
  return text;
}

std::string spotterHoverText(const SpotArgs& spot) {
  std::string text;
  text.reserve(64);
  text += "By ";
  text += trimBlanks(spot.SpotBy);
  text += ", ";
  text += trimBlanks(spot.SpotByLoc);
  text += " (";
  text += trimBlanks(spot.SpotCall);
  text += ')';
  return text;
}

}  // namespace orbelle::spots
