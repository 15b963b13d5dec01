#include "app/spot_feed.hpp"

#include <QDateTime>
#include <algorithm>
#include <vector>

#include "core/text.hpp"

namespace orbelle::station {

SpotFeed::SpotFeed(SpotFilter filter, SpotStore::Limits limits, MapHost& map, Report& report,
                   Timing timing, QObject* parent)
    : QObject(parent),
      filter_(std::move(filter)),
      store_(limits),
      map_(map),
      report_(report),
      timing_(std::move(timing)) {
  if (!timing_.clock) timing_.clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
  resyncTimer_.setSingleShot(true);
  expiryTimer_.setSingleShot(true);
  connect(&resyncTimer_, &QTimer::timeout, this, &SpotFeed::showAll);
  connect(&expiryTimer_, &QTimer::timeout, this, &SpotFeed::expire);
}

void SpotFeed::offer(PlacedSpot spot) {
  const std::string call = spot.fields.SpotCall;
  if (const std::string why = filterRejection(filter_, spot); !why.empty()) {
    ++counters_.filtered;
    report_.note("spot of " + call + " not shown: " + why);
    return;
  }
  const AddSpotFields fields = spot.fields;
  const std::string text = "spot: " + call + " " + numberText(fields.SpotFreq) + " " + fields.Mode +
                           " by " + fields.SpotBy + " (" + fields.SpotLoc + ")";
  switch (store_.add(std::move(spot), now())) {
    case SpotStore::Outcome::Added:
      ++counters_.shown;
      report_.note(text);
      // A pending resync shows it with the rest.
      if (!resyncTimer_.isActive()) map_.addSpot(fields);
      break;
    case SpotStore::Outcome::Replaced:
      ++counters_.shown;
      ++counters_.duplicates;
      report_.note(text + ", in place of an earlier spot of " + call);
      if (!resyncTimer_.isActive()) resyncTimer_.start(timing_.resyncDelayMs);
      break;
    case SpotStore::Outcome::Duplicate:
      ++counters_.duplicates;
      report_.note("spot of " + call + " not shown: a later spot of it on the band is");
      return;
    case SpotStore::Outcome::TooOld:
      ++counters_.tooOld;
      report_.note("spot of " + call + " not shown: older than --max-age");
      return;
  }
  armExpiry();
}

void SpotFeed::showAll() {
  resyncTimer_.stop();
  const auto& spots = store_.newestFirst();
  std::vector<const AddSpotFields*> oldestFirst;
  oldestFirst.reserve(spots.size());
  std::for_each(spots.rbegin(), spots.rend(),
                [&](const PlacedSpot& s) { oldestFirst.push_back(&s.fields); });
  map_.showSpots(oldestFirst);
}

void SpotFeed::expire() {
  if (const std::size_t gone = store_.expire(now()); gone > 0) {
    counters_.agedOut += gone;
    report_.note(std::to_string(gone) + " spots older than --max-age removed from the map");
    showAll();
  }
  armExpiry();
}

void SpotFeed::armExpiry() {
  const std::optional<std::int64_t> next = store_.nextExpiryMs();
  if (!next) {
    expiryTimer_.stop();
    return;
  }
  // Timers run on an int of milliseconds; a far expiry is looked at again on the way.
  constexpr std::int64_t kLongestWaitMs = 3'600'000;
  expiryTimer_.start(static_cast<int>(std::clamp<std::int64_t>(*next - now(), 0, kLongestWaitMs)));
}

}  // namespace orbelle::station
