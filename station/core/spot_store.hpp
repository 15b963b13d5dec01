#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "core/spot_fields.hpp"

// The station's recent spots, newest first: what the map shows, so that a map that starts again
// can be shown them again. Bounded: the oldest spot goes when a new one would exceed the
// capacity. Spots older than the age limit are not taken and are removed by expire(). Two spots
// of the same call on the same band made within the de-duplication window count as one: the one
// made later stays (the newest spotter wins), the one that arrives later on a tie.

namespace orbelle::station {

// Enough for the map's own ring at its usual sizes.
inline constexpr std::size_t kMaxStoredSpots = 100;

class SpotStore {
 public:
  struct Limits {
    std::size_t capacity = kMaxStoredSpots;
    std::int64_t maxAgeMs = 0;  // 0: spots do not age out
    std::int64_t dedupeMs = 0;  // 0: every spot counts
  };
  enum class Outcome {
    Added,      // a new spot, the newest now
    Replaced,   // took the place of a duplicate, which is gone: the map must lose it too
    Duplicate,  // a duplicate made earlier than the one kept: not taken
    TooOld,     // older than the age limit: not taken
  };

  explicit SpotStore(Limits limits) : limits_(limits) {}

  Outcome add(PlacedSpot spot, std::int64_t nowMs);
  // Removes the spots older than the age limit at `nowMs`; how many went.
  std::size_t expire(std::int64_t nowMs);
  // When the next spot will be older than the age limit; nullopt without a limit or spots.
  std::optional<std::int64_t> nextExpiryMs() const;

  const std::deque<PlacedSpot>& newestFirst() const { return spots_; }
  const Limits& limits() const { return limits_; }

 private:
  bool tooOld(const PlacedSpot& spot, std::int64_t nowMs) const;

  Limits limits_;
  std::deque<PlacedSpot> spots_;
};

}  // namespace orbelle::station
