// The rules spots go through: the store of recent spots, the filters, locators.

#include <gtest/gtest.h>

#include <cmath>

#include "core/locator.hpp"
#include "core/spot_filter.hpp"
#include "core/spot_store.hpp"
#include "core/spot_time.hpp"
#include "core/text.hpp"

namespace orbelle::station {
namespace {

constexpr std::int64_t kMinute = kMsPerMinute;
constexpr std::int64_t kNoon = (20000 * 24 + 12) * 60 * kMinute;  // of some day, since the epoch

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

// Later duplicates replace, earlier ones are dropped; too old, bound and age-out at the limit.
TEST(SpotStore, DuplicatesAgeAndBound) {
  SpotStore store({3, 5 * kMinute, 10 * kMinute});
  const std::int64_t t = kNoon;
  EXPECT_EQ(store.nextExpiryMs(), std::nullopt);
  using O = SpotStore::Outcome;
  const struct Step {
    PlacedSpot spot;
    O outcome;
    const char* stored;  // newest first
  } steps[] = {
      {spot("VP8LP", 14195.0, t, "EA5WU"), O::Added, "14195 EA5WU"},
      {spot("VP8LP", 14025.0, t + kMinute), O::Replaced, "14025 W3LPL"},            // the same band
      {spot("VP8LP", 14200.0, t - kMinute, "K1TTT"), O::Duplicate, "14025 W3LPL"},  // older
      {spot("VP8LP", 7023.0, t, "K1TTT"), O::Added, "7023 K1TTT,14025 W3LPL"},
      {spot("OLD", 14000.0, t - 6 * kMinute), O::TooOld, "7023 K1TTT,14025 W3LPL"},
      {spot("VP8LP", 7023.0, t + 11 * kMinute, "N1MM"), O::Added,
       "7023 N1MM,7023 K1TTT,14025 W3LPL"},
      {spot("JA1ABC", 21074.0, t, "N1MM"), O::Added, "21074 N1MM,7023 N1MM,7023 K1TTT"}};
  for (const Step& step : steps) {
    EXPECT_EQ(store.add(step.spot, t), step.outcome) << step.stored;
    std::string stored;
    for (const PlacedSpot& s : store.newestFirst()) {
      stored += (stored.empty() ? "" : ",") + numberText(s.fields.SpotFreq) + " " + s.fields.SpotBy;
    }
    EXPECT_EQ(stored, step.stored);
  }
  EXPECT_EQ(store.nextExpiryMs(), t + 5 * kMinute + 1);
  EXPECT_EQ(store.expire(t + 5 * kMinute), 0u);
  EXPECT_EQ(store.expire(t + 5 * kMinute + 1), 2u);
  ASSERT_EQ(store.newestFirst().size(), 1u);
  // Without a window every spot counts.
  SpotStore all({3, 0, 0});
  all.add(spot("VP8LP", 14195.0, t), t);
  EXPECT_EQ(all.add(spot("VP8LP", 14195.0, t), t), O::Added);
}

TEST(SpotFilter, EachListLetsOnlyItsValuesThrough) {
  PlacedSpot usb = spot("VP8LP", 14195.0, 0);
  usb.fields.Mode = "USB";
  const PlacedSpot outOfBand = spot("XX1X", 13000.0, 0);
  PlacedSpot unplacedSpotter = spot("VP8LP", 7023.0, 0);
  unplacedSpotter.spotterContinent.clear();
  const struct Case {
    SpotFilter filter;  // bands, modes, DX continents, spotter continents
    const PlacedSpot& spot;
    const char* rejection;  // part of it; "" when the spot passes
  } cases[] = {{SpotFilter{}, outOfBand, ""},
               {{{"40m"}, {}, {}, {}}, usb, "band 20m"},
               {{{"20m"}, {}, {}, {}}, outOfBand, "band unknown"},
               {{{}, {"SSB"}, {}, {}}, usb, ""},  // SSB takes USB and LSB
               {{{}, {"CW", "FT8"}, {}, {}}, usb, "mode USB"},
               {{{}, {}, {"EU", "NA"}, {}}, usb, "DX continent SA"},
               {{{}, {}, {}, {"NA"}}, unplacedSpotter, "spotter continent unknown"}};
  for (const Case& c : cases) {
    const std::string why = filterRejection(c.filter, c.spot);
    EXPECT_EQ(why.empty(), *c.rejection == '\0') << why;
    EXPECT_NE(why.find(c.rejection), std::string::npos) << why;
  }
}

// The centre of a subsquare (letters of either case); words that are no locator.
TEST(Locator, CentreOfASubsquare) {
  EXPECT_DOUBLE_EQ(locatorCentre("JO65ha")->latitude, 55.0 + 0.5 / 24.0);
  EXPECT_DOUBLE_EQ(locatorCentre("jo65HA")->longitude, 12.0 + 7 * 2.0 / 24.0 + 1.0 / 24.0);
  for (const char* bad : {"SS00", "FN20z", "FN20aY"}) EXPECT_EQ(locatorCentre(bad), std::nullopt);
}

}  // namespace
}  // namespace orbelle::station
