#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "bus/map_host.hpp"
#include "core/report.hpp"
#include "core/spot_filter.hpp"
#include "core/spot_store.hpp"

// Spots from every source on their way to the map: the operator's filters, then the store of
// recent spots, which de-duplicates and ages them. A new spot is added to the map at once. When
// a spot the map shows has to go (a duplicate replaced, a spot aged out) the map is cleared and
// shown the store again, at most once per resync delay, so that a burst of duplicates costs
// one redraw; a map that attaches (again) is shown the store at once.

namespace orbelle::station {

class SpotFeed : public QObject {
  Q_OBJECT

 public:
  struct Timing {
    int resyncDelayMs = 1000;
    // Now, in ms since the epoch (UTC): the clock spot times are compared with.
    std::function<std::int64_t()> clock;
  };
  struct Counters {
    std::size_t shown = 0;
    std::size_t filtered = 0;
    std::size_t duplicates = 0;
    std::size_t tooOld = 0;
    std::size_t agedOut = 0;
  };

  SpotFeed(SpotFilter filter, SpotStore::Limits limits, MapHost& map, Report& report, Timing timing,
           QObject* parent = nullptr);

  void offer(PlacedSpot spot);
  // Clears the map and shows it every spot of the store.
  void showAll();

  const SpotStore& store() const { return store_; }
  const Counters& counters() const { return counters_; }
  std::int64_t now() const { return timing_.clock(); }

 private:
  void expire();
  void armExpiry();

  SpotFilter filter_;
  SpotStore store_;
  MapHost& map_;
  Report& report_;
  Timing timing_;
  QTimer resyncTimer_;
  QTimer expiryTimer_;
  Counters counters_;
};

}  // namespace orbelle::station
