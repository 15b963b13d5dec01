#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ini/date_time.hpp"

// Texts of values in the settings file, and their reading back. Numbers always use "." as the
// decimal separator, whatever the locale.

namespace orbelle {

// Nearest integer, ties to even (5.5 → 6, 4.5 → 4, −2.5 → −2). NaN and ±inf come back unchanged.
double roundHalfEven(double value);

// Number text: a leading blank for zero and positive values and "-" for negative ones, at most
// 15 significant digits for doubles and 7 for singles, whole values without a point, an
// exponent ("1E+15", "1E-05") where the plain form would need more digits. 33.9 → " 33.9",
// −84.179 → "-84.179", 600 → " 600".
std::string numberText(double value);
std::string numberText(float value);
std::string numberText(std::int32_t value);

// The leading number of a text: leading blanks (spaces, tabs) are skipped, then an optional sign,
// digits with at most one ".", an optional exponent ("E" or "e", optional sign, digits); reading
// stops at the first character that cannot continue the number. A text without a number gives 0.
// A number too large for the type gives nullopt; one too small gives 0.
std::optional<double> leadingDouble(std::string_view text);
std::optional<float> leadingSingle(std::string_view text);

// A text that is one decimal number as a whole (blanks around it allowed; sign, digits, at most
// one ".", optional exponent), rounded to an integer with ties to even. Anything else, and values
// outside [min, max] after rounding, give nullopt.
std::optional<std::int32_t> decimalInteger(std::string_view text, std::int32_t min,
                                           std::int32_t max);

// True when the first character of the upper-cased text is "Y", "T" or "1", or the whole
// upper-cased text is "ON".
bool booleanText(std::string_view text);

// Date text YYYYMMDD: the year as a plain number, month and day as two digits each.
// 5 July 2000 → "20000705".
std::string DateToIniText(DateTime date);

// The date of characters 1–4 (year), 5–6 (month) and 7–8 (day), each read as a 16-bit integer
// and combined with carry (DateSerial). A piece that is not a 16-bit number gives nullopt.
std::optional<DateTime> IniTextToDate(std::string_view text);

}  // namespace orbelle
