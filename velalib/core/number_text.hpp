// Reading numbers from the start of a text, the way the C library's atoi and atof read them but
// independent of the locale (the decimal point is always ".").
#pragma once

#include <cstdint>
#include <string_view>

namespace velalib {

// Leading white space, an optional sign, then decimal digits; anything else ends the number.
// No digits give 0; values beyond the 32-bit range saturate at INT32_MIN / INT32_MAX.
int32_t parseWholeNumber(std::string_view text);

// Leading white space, an optional sign, digits with an optional decimal point, and an optional
// exponent ("e" or "E", optional sign, digits). No digits give 0. Rounded to nearest (ties to
// even); magnitudes beyond double range give ±infinity, below it ±0.
double parseDecimalNumber(std::string_view text);

}  // namespace velalib
