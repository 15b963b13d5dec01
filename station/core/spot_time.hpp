#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// When a spot was made, as milliseconds since the epoch (UTC). Spots carry only the time of day:
// a cluster's "HHMMZ", a WSJT-X decode's milliseconds since midnight UTC. The day is the one that
// puts the spot at or before its arrival; a time a little after the arrival (the sender's clock
// runs ahead) counts as made on arrival.

namespace orbelle::station {

inline constexpr std::int64_t kMsPerMinute = 60'000;
inline constexpr std::int64_t kMsPerDay = 86'400'000;
// How far ahead of this machine's clock a sender's clock may run.
inline constexpr std::int64_t kClockSkewMs = 5 * kMsPerMinute;

// The moment a spot was made, given its time of day `msOfDay` (0 .. kMsPerDay - 1) and its
// `resolutionMs` (60000 for HHMM): the latest moment it can have been made, never after
// `arrivalMs`. An age measured from it is the least age the spot can have.
std::int64_t spotMadeAt(std::int64_t arrivalMs, std::int64_t msOfDay, std::int64_t resolutionMs);

// Minutes since midnight of a cluster time "HHMMZ", or nullopt.
std::optional<int> minutesOfClusterTime(std::string_view hhmmz);

}  // namespace orbelle::station
