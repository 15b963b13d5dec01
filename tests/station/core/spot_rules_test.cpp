// The rules spots go through: when a spot was made, the filters, the store of recent spots
// (de-duplication, age, bound), and the rotator's heading for the map.

#include <gtest/gtest.h>

#include <cmath>

#include "core/locator.hpp"
#include "core/rotor_watch.hpp"
#include "core/spot_filter.hpp"
#include "core/spot_store.hpp"
#include "core/spot_time.hpp"

namespace orbelle::station {
namespace {

constexpr std::int64_t kDay = 20000;  // some day, in days since the epoch
constexpr std::int64_t at(int h, int m, int s) {
  return (kDay * 24 * 3600 + h * 3600 + m * 60 + s) * 1000;
}

PlacedSpot spot(const char* call, double kHz, std::int64_t madeAt, const char* by = "W3LPL") {
  PlacedSpot p;
  p.fields.SpotCall = call;
  p.fields.SpotFreq = kHz;
  p.fields.SpotBy = by;
  p.fields.Mode = "CW";
  p.dxContinent = "SA";
  p.spotterContinent = "NA";
  p.madeAtMs = madeAt;
  return p;
}

TEST(SpotTime, LatestMomentNotAfterArrival) {
  const std::int64_t minute = kMsPerMinute;
  struct Case {
    std::int64_t arrival, msOfDay, resolution, expected;
  } cases[] = {
      {at(13, 59, 30), (13 * 60 + 59) * minute, minute, at(13, 59, 30)},       // this minute
      {at(14, 2, 10), (13 * 60 + 59) * minute, minute, at(13, 59, 59) + 999},  // minutes ago
      {at(0, 2, 0), (23 * 60 + 59) * minute, minute, at(23, 59, 59) + 999 - kMsPerDay},
      {at(23, 58, 0), (0 * 60 + 1) * minute, minute, at(0, 1, 59) + 999},  // early in the day
      {at(12, 0, 0), (12 * 60 + 4) * minute, minute, at(12, 0, 0)},        // sender runs ahead
      {at(12, 0, 0), (12 * 60 + 6) * minute, minute, at(12, 6, 59) + 999 - kMsPerDay},
      {at(10, 0, 14), at(10, 0, 0) - kDay * kMsPerDay, 1, at(10, 0, 0)}  // a decode's ms
  };
  for (const Case& c : cases) {
    EXPECT_EQ(spotMadeAt(c.arrival, c.msOfDay, c.resolution), c.expected) << c.msOfDay / minute;
  }
}

TEST(SpotStore, DuplicatesWithinTheWindowCountOnceAndTheLaterSpotStays) {
  SpotStore store({3, 0, 10 * kMsPerMinute});
  const std::int64_t t = at(12, 0, 0);
  using O = SpotStore::Outcome;
  EXPECT_EQ(store.add(spot("VP8LP", 14195.0, t, "EA5WU"), t), O::Added);
  EXPECT_EQ(store.add(spot("VP8LP", 14025.0, t + 60'000, "W3LPL"), t), O::Replaced);   // 20 m
  EXPECT_EQ(store.add(spot("VP8LP", 14200.0, t - 60'000, "K1TTT"), t), O::Duplicate);  // older
  EXPECT_EQ(store.add(spot("VP8LP", 7023.0, t, "K1TTT"), t), O::Added);  // another band
  EXPECT_EQ(store.add(spot("VP8LP", 7023.0, t + 11 * kMsPerMinute, "N1MM"), t), O::Added);
  ASSERT_EQ(store.newestFirst().size(), 3u);
  EXPECT_EQ(store.newestFirst()[2].fields.SpotBy, "W3LPL");
  // The bound drops the oldest.
  EXPECT_EQ(store.add(spot("JA1ABC", 21074.0, t, "N1MM"), t), O::Added);
  ASSERT_EQ(store.newestFirst().size(), 3u);
  EXPECT_EQ(store.newestFirst().front().fields.SpotCall, "JA1ABC");
  EXPECT_EQ(store.newestFirst().back().fields.SpotFreq, 7023.0);
  // Without a window every spot counts.
  SpotStore all({3, 0, 0});
  all.add(spot("VP8LP", 14195.0, t), t);
  EXPECT_EQ(all.add(spot("VP8LP", 14195.0, t), t), O::Added);
}

TEST(SpotStore, SpotsOlderThanTheLimitAreNotTakenAndAgeOut) {
  SpotStore store({10, 5 * kMsPerMinute, 0});
  const std::int64_t t = at(12, 0, 0);
  EXPECT_EQ(store.nextExpiryMs(), std::nullopt);
  EXPECT_EQ(store.add(spot("OLD", 14000.0, t - 6 * kMsPerMinute), t), SpotStore::Outcome::TooOld);
  store.add(spot("A1A", 14000.0, t - 2 * kMsPerMinute), t);
  store.add(spot("B1B", 14000.0, t - 4 * kMsPerMinute), t);
  EXPECT_EQ(store.nextExpiryMs(), t + kMsPerMinute + 1);
  EXPECT_EQ(store.expire(t + kMsPerMinute), 0u);
  EXPECT_EQ(store.expire(t + kMsPerMinute + 1), 1u);
  ASSERT_EQ(store.newestFirst().size(), 1u);
  EXPECT_EQ(store.newestFirst().front().fields.SpotCall, "A1A");
}

TEST(SpotFilter, EachListLetsOnlyItsValuesThrough) {
  PlacedSpot usb = spot("VP8LP", 14195.0, 0);
  usb.fields.Mode = "USB";
  PlacedSpot outOfBand = spot("XX1X", 13000.0, 0);
  PlacedSpot unplacedSpotter = spot("VP8LP", 7023.0, 0);
  unplacedSpotter.spotterContinent.clear();
  using List = std::vector<std::string> SpotFilter::*;
  const auto only = [](List list, std::vector<std::string> values) {
    SpotFilter filter;
    filter.*list = std::move(values);
    return filter;
  };
  struct Case {
    SpotFilter filter;
    const PlacedSpot& spot;
    const char* rejection;  // part of it; "" when the spot passes
  } cases[] = {
      {SpotFilter{}, outOfBand, ""},
      {only(&SpotFilter::bands, {"20m", "40m"}), usb, ""},
      {only(&SpotFilter::bands, {"40m"}), usb, "band 20m"},
      {only(&SpotFilter::bands, {"20m"}), outOfBand, "band unknown"},
      {only(&SpotFilter::modes, {"SSB"}), usb, ""},  // SSB takes USB and LSB
      {only(&SpotFilter::modes, {"CW", "FT8"}), usb, "mode USB"},
      {only(&SpotFilter::dxContinents, {"SA"}), usb, ""},
      {only(&SpotFilter::dxContinents, {"EU", "NA"}), usb, "DX continent SA"},
      {only(&SpotFilter::spotterContinents, {"NA"}), usb, ""},
      {only(&SpotFilter::spotterContinents, {"NA"}), unplacedSpotter, "spotter continent unknown"}};
  for (const Case& c : cases) {
    const std::string why = filterRejection(c.filter, c.spot);
    if (*c.rejection == '\0') {
      EXPECT_EQ(why, "") << c.spot.fields.SpotCall;
    } else {
      EXPECT_NE(why.find(c.rejection), std::string::npos) << why;
    }
  }
}

TEST(RotorWatch, FollowsTheTurnUntilItStandsAndHidesWhenLost) {
  for (const auto& [reading, heading] : {std::pair{-90.0, 270.0}, {450.0, 90.0}, {359.96, 0.0}}) {
    EXPECT_EQ(mapHeading(reading), heading) << reading;
  }
  EXPECT_FALSE(std::signbit(mapHeading(-0.01)));

  RotorWatch watch;
  EXPECT_EQ(watch.lost(), std::nullopt);  // nothing shown yet
  EXPECT_EQ(watch.reading(10.0), 10.0);
  EXPECT_EQ(watch.nextPollMs(), RotorWatch::kIdlePollMs);
  watch.commanded();
  EXPECT_EQ(watch.nextPollMs(), RotorWatch::kTurningPollMs);
  EXPECT_EQ(watch.reading(10.02), std::nullopt);  // not yet moving: the same tenth
  EXPECT_EQ(watch.reading(13.0), 13.0);
  for (int i = 0; i < RotorWatch::kStillReadings; ++i) {
    EXPECT_TRUE(watch.turning());
    EXPECT_EQ(watch.reading(20.0), i == 0 ? std::optional<double>(20.0) : std::nullopt);
  }
  EXPECT_EQ(watch.reading(20.0), std::nullopt);
  EXPECT_FALSE(watch.turning());
  EXPECT_TRUE(std::isnan(watch.lost().value_or(0.0)));
  EXPECT_EQ(watch.lost(), std::nullopt);  // hidden already
  EXPECT_EQ(watch.reading(20.0), 20.0);   // back: shown again
  EXPECT_EQ(watch.reading(std::nan("")), std::nullopt);
}

TEST(Locator, CentreOfSquareAndSubsquare) {
  const auto centre = [](const char* l) { return locatorCentre(l).value_or(Position{-99, -99}); };
  EXPECT_DOUBLE_EQ(centre("FN20").latitude, 40.5);
  EXPECT_DOUBLE_EQ(centre("FN20").longitude, -75.0);
  EXPECT_DOUBLE_EQ(centre("JO65ha").latitude, 55.0 + 0.5 / 24.0);
  EXPECT_DOUBLE_EQ(centre("jo65HA").longitude, 12.0 + 7 * 2.0 / 24.0 + 1.0 / 24.0);
  EXPECT_DOUBLE_EQ(centre("AA00").latitude, -89.5);
  EXPECT_DOUBLE_EQ(centre("RR99").longitude, 179.0);
  for (const char* bad : {"SS00", "FN2", "FN20z", "FN20aY1", "F120", ""}) {
    EXPECT_EQ(locatorCentre(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace orbelle::station
