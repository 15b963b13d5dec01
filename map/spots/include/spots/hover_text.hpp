#pragma once

// The hover texts of the two markers of a spot, and the text pieces they are built from. All
// texts are UTF-8.

#include <string>
#include <string_view>

#include "spots/spot_row.hpp"

namespace orbelle::spots {

// Removes leading and trailing blanks (space characters only; tabs and other white space stay).
std::string_view trimBlanks(std::string_view text) noexcept;

// The general number format: no thousands separator, no trailing zeros after the decimal
// separator, up to 15 significant digits, decimalSeparator in place of ".". Magnitudes from
// 1e15 up and below 1e-4 are written with an exponent ("1E+15", "2.5E-05"). Zero is "0" (also
// −0); NaN and the infinities are "NaN", "Infinity" and "-Infinity".
std::string generalNumberText(double value, std::string_view decimalSeparator = ".");

// Spot marker: trim(SpotCall) (by trim(SpotBy)) text(SpotFreq) trim(Mode) SpotTime
// trim(SpotComment), trim(SpotLoc) — with SpotTime untrimmed.
std::string spotHoverText(const SpotArgs& spot, std::string_view decimalSeparator);

// Spotter marker: By trim(SpotBy), trim(SpotByLoc) (trim(SpotCall)).
std::string spotterHoverText(const SpotArgs& spot);

}  // namespace orbelle::spots
