// Call signs in spots, and a cluster spot turned into the map's AddSpot values.

#include <gtest/gtest.h>

#include "core/call_sign.hpp"
#include "core/spot_fields.hpp"
#include "peers/cty_excerpt.hpp"
#include "peers/placed_spot_text.hpp"

namespace orbelle::station {
namespace {

TEST(CallSign, WordsThatAreCallsOrSpottersAndTheirLookupParts) {
  const std::pair<const char*, bool> calls[] = {{"4U1UN", true},
                                                {"EA8/DL1ABC/P", true},
                                                {"T6A", true},
                                                {"599", false},
                                                {"W1AW/", false},
                                                {"W1-AW", false},
                                                {"TOOLONGCALLSIGN123456", false}};
  for (const auto& [word, call] : calls) EXPECT_EQ(isCallSignWord(word), call) << word;
  const std::pair<const char*, bool> spotters[] = {{"EA5WU-#", true},
                                                   {"W3LPL-2", true},
                                                   {"W3LPL-", false},
                                                   {"W3LPL-TOOLONG", false},
                                                   {"-#", false}};
  for (const auto& [word, spotter] : spotters) EXPECT_EQ(isSpotterWord(word), spotter) << word;
  EXPECT_EQ(withoutNodeSuffix("EA5WU-#"), "EA5WU");
  // Only parts after the first are designators; a maritime mobile has no country.
  const std::pair<const char*, const char*> lookups[] = {{"dl1abc/p", "DL1ABC/P|DL1ABC"},
                                                         {"DL1ABC/EA8", "DL1ABC/EA8|EA8"},
                                                         {"W1ABC/4", "W1ABC/4|W4ABC"},
                                                         {"VP2E/W1AW/QRP", "VP2E/W1AW/QRP|VP2E"},
                                                         {"P/W1ABC", "P/W1ABC|P"},
                                                         {"W1ABC/MM", "none"},
                                                         {"  ", "none"}};
  for (const auto& [call, parts] : lookups) {
    const auto key = lookupCall(call);
    EXPECT_EQ(key ? key->exact + "|" + key->prefixed : "none", parts) << call;
  }
}

TEST(SpotFields, EveryValueOfPlacedSpotsAndSpotsThatCannotBePlaced) {
  const CtyDat cty = CtyDat::parse(kCtyExcerpt).table;
  constexpr std::int64_t kDay = 20000LL * 86'400'000, kMinute = 60'000;
  constexpr std::int64_t kArrival = kDay + 14 * 60 * kMinute + 30'000;  // 14:00:30
  // A split phone spot, made at the end of 13:59; a spotter that cannot be placed (SpotByLat below
  // -90), spotting at 23:42 yesterday.
  const std::pair<const char*, std::string> cases[] = {
      {"DX de EA5WU-#:  14195.0  VP8LP        up 5 tnx QSO                   1359Z IM98",
       "-51.63 -58.72 " + std::to_string(bandColor(14100.0)) +
           " 14195 SSB VP8LP 1359Z EA5WU-# [up 5 tnx QSO] Falkland Islands | 40.37 -4.88 12632256 "
           "Spain | 14200 SA EU " +
           std::to_string(kDay + 14 * 60 * kMinute - 1)},
      {"DX de XX9ZZ:  7023.1  JA1ABC  CW 12 dB 25 WPM CQ  2342Z",
       "36.4 138.38 " + std::to_string(bandColor(7023.1)) +
           " 7023.1 CW JA1ABC 2342Z XX9ZZ [CW 12 dB 25 WPM CQ] Japan | -99 0 12632256  | 0 AS  " +
           std::to_string(kDay - 17 * kMinute - 1)},
      {"DX de W3LPL:  14025.0  XX9ZZ  CW  1359Z", "not placed"},
      {"DX de W3LPL:  14025.0  DL1ABC/MM  CW  1359Z", "not placed"}};
  for (const auto& [text, expected] : cases) {
    const ClusterLine line = parseClusterLine(text);
    ASSERT_EQ(line.kind, LineKind::Spot) << line.fault;
    const auto placed = placeSpot(line.spot, cty, kArrival);
    EXPECT_EQ(placed ? test::placedSpotText(*placed) : "not placed", expected) << text;
  }
}

}  // namespace
}  // namespace orbelle::station
