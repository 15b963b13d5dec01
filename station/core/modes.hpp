#pragma once

#include <optional>
#include <string>
#include <string_view>

// Operating modes of spots and the rig modes Hamlib's rigctld takes for them. Frequencies are in
// kilohertz.

namespace orbelle::station {

// The first mode word in a spot comment, upper-cased ("CW", "SSB", "FT8", "PSK31", ...), or "" when
// the comment names none. Words are runs of letters and digits, so "FM19" (a locator) is not FM.
std::string modeInComment(std::string_view comment);

// The mode a spot on `kHz` most likely uses by the band plans: "FT8" and "FT4" on their usual
// frequencies, otherwise "CW", "SSB", "AM" or "FM" by segment. "" outside the bands.
std::string modeByBandPlan(double kHz);

// The mode shown for a spot: the comment's mode word, else the band plan's guess.
std::string spotMode(double kHz, std::string_view comment);

// True for the modes a rig runs as data through its USB data mode (FT8, PSK31, ...).
bool isDigitalMode(std::string_view mode);

// The rigctld mode for a spot mode (case-blind): CW; USB or LSB for SSB and SSTV by the usual
// sideband of the band (LSB below 10 MHz except on 60 m); USB, LSB, FM, AM, RTTY as they are;
// PKTUSB for digital modes. nullopt for a mode that has no rig mode (unknown or empty).
std::optional<std::string> hamlibMode(std::string_view mode, double kHz);

}  // namespace orbelle::station
