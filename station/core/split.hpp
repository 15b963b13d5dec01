#pragma once

#include <optional>
#include <string_view>

// The transmit frequency of a split spot, read from the spot's comment. Frequencies in kHz.
//
// Understood (case-blind, number attached or after a blank, optional "K"/"KHZ" unit):
//   "UP 5", "UP5", "up 1.5", "UP 5-10" (the first figure)  → spot + offset
//   "DOWN 2", "DN2"                                       → spot − offset
//   "QSX 14195", "QSX 14.195"                             → that frequency, in kHz or MHz,
//                                                           whichever is within kMaxSplitKHz
// Offsets above kMaxSplitKHz, a bare "UP" and anything else give nullopt, as does a result equal
// to the spot frequency.

namespace orbelle::station {

inline constexpr double kMaxSplitKHz = 500.0;

std::optional<double> splitTransmitKHz(double spotKHz, std::string_view comment);

}  // namespace orbelle::station
