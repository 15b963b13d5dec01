#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Command lines of Hamlib's network daemons (rotctld, rigctld) in their default protocol, and
// their "RPRT n" replies. Every set command is answered by one "RPRT n" line, n = 0 on success and
// a negative Hamlib error code otherwise.

namespace orbelle::station::hamlib {

inline constexpr int kDefaultRotctldPort = 4533;
inline constexpr int kDefaultRigctldPort = 4532;

// rotctld: turn to `azimuth` degrees at elevation 0 ("P 123.0 0"), and stop.
std::string setPosition(double azimuth);
inline constexpr std::string_view kStop = "S";
// rotctld: the position, answered by two lines (azimuth, elevation).
inline constexpr std::string_view kGetPosition = "p";
inline constexpr int kPositionLines = 2;

// rigctld: frequency in Hz, mode with the rig's default passband, split on (transmit on VFO B)
// or off, and the transmit frequency of split operation.
std::string setFrequency(std::int64_t hz);
std::string setMode(std::string_view mode);
std::string setSplit(bool on);
std::string setSplitFrequency(std::int64_t hz);
// rigctld: the frequency, answered by one line.
inline constexpr std::string_view kGetFrequency = "f";

// Kilohertz to whole hertz, rounded to the nearest hertz with ties to even. nullopt for values
// that are not finite, not above 0, or above kMaxHz.
inline constexpr std::int64_t kMaxHz = 1'000'000'000'000;  // 1 THz
std::optional<std::int64_t> kHzToHz(double kHz);

// The code of a "RPRT n" line (blanks and a CR around it allowed), or nullopt for any other line.
std::optional<int> reportCode(std::string_view line);

// A short text for a Hamlib error code ("invalid parameter" for -1), or "error" when unknown.
std::string_view errorText(int code);

}  // namespace orbelle::station::hamlib
