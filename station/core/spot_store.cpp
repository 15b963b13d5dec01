#include "core/spot_store.hpp"

#include <algorithm>

#include "core/band.hpp"

namespace orbelle::station {
namespace {

bool sameStation(const PlacedSpot& a, const PlacedSpot& b) {
  // Outside the bands there is no band to share: the same frequency, then.
  const Band* band = bandOf(a.fields.SpotFreq);
  return a.fields.SpotCall == b.fields.SpotCall &&
         (band ? band == bandOf(b.fields.SpotFreq) : a.fields.SpotFreq == b.fields.SpotFreq);
}

}  // namespace

bool SpotStore::tooOld(const PlacedSpot& spot, std::int64_t nowMs) const {
  return limits_.maxAgeMs > 0 && nowMs - spot.madeAtMs > limits_.maxAgeMs;
}

SpotStore::Outcome SpotStore::add(PlacedSpot spot, std::int64_t nowMs) {
  if (tooOld(spot, nowMs)) return Outcome::TooOld;
  Outcome outcome = Outcome::Added;
  if (limits_.dedupeMs > 0) {
    const auto twin = std::find_if(spots_.begin(), spots_.end(), [&](const PlacedSpot& s) {
      const std::int64_t apart = s.madeAtMs - spot.madeAtMs;
      return sameStation(s, spot) && apart <= limits_.dedupeMs && -apart <= limits_.dedupeMs;
    });
    if (twin != spots_.end()) {
      if (twin->madeAtMs > spot.madeAtMs) return Outcome::Duplicate;
      spots_.erase(twin);
      outcome = Outcome::Replaced;
    }
  }
  spots_.push_front(std::move(spot));
  if (spots_.size() > limits_.capacity) spots_.pop_back();
  return outcome;
}

std::size_t SpotStore::expire(std::int64_t nowMs) {
  const std::size_t before = spots_.size();
  spots_.erase(std::remove_if(spots_.begin(), spots_.end(),
                              [&](const PlacedSpot& s) { return tooOld(s, nowMs); }),
               spots_.end());
  return before - spots_.size();
}

std::optional<std::int64_t> SpotStore::nextExpiryMs() const {
  if (limits_.maxAgeMs <= 0 || spots_.empty()) return std::nullopt;
  const auto oldest = std::min_element(
      spots_.begin(), spots_.end(),
      [](const PlacedSpot& a, const PlacedSpot& b) { return a.madeAtMs < b.madeAtMs; });
  return oldest->madeAtMs + limits_.maxAgeMs + 1;
}

}  // namespace orbelle::station
