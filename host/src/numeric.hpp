// Number texts of the host language. Rounding to a number of decimals is half away from zero
// on the shortest decimal form of the value (15 significant digits), so 2.675 rounds to 2.68
// although its binary value lies just below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace foxhost::numeric {

// The value with exactly `decimals` decimals (0..18); no padding.
std::string formatFixed(double value, int decimals);

// STR(): right-aligned in `length` characters with `decimals` decimals; decimals are dropped
// when the text would not fit, and a value whose integer part does not fit gives `length`
// asterisks.
std::string str(double value, int length, int decimals);

struct Parsed {
  double value = 0;
  uint32_t decimals = 0;  // digits after the decimal point
};

// VAL(): leading blanks, an optional sign, digits, an optional "." and digits; the rest is
// ignored; no number gives 0.
Parsed val(std::string_view text);

}  // namespace foxhost::numeric
