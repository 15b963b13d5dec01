// Call signs in spots, and a cluster spot turned into the map's AddSpot values.

#include <gtest/gtest.h>

#include "core/call_sign.hpp"
#include "core/spot_fields.hpp"
#include "peers/cty_excerpt.hpp"
#include "peers/placed_spot_text.hpp"

namespace orbelle::station {
namespace {

// Words that are calls or spotters; only parts after the first are designators, and a maritime
// mobile has no country.
TEST(CallSign, WordsThatAreCallsOrSpottersAndTheirLookupParts) {
  for (const char* call : {"EA8/DL1ABC/P", "T6A", "4U1UN"}) EXPECT_TRUE(isCallSignWord(call));
  for (const char* word : {"599", "W1AW/", "W1-AW", "TOOLONGCALLSIGN123456"}) {
    EXPECT_FALSE(isCallSignWord(word)) << word;
  }
  EXPECT_TRUE(isSpotterWord("EA5WU-#"));
  for (const char* word : {"W3LPL-", "W3LPL-TOOLONG", "-#"}) EXPECT_FALSE(isSpotterWord(word));
  EXPECT_EQ(withoutNodeSuffix("EA5WU-#"), "EA5WU");
  const std::pair<const char*, const char*> lookups[] = {{"dl1abc/p", "DL1ABC/P|DL1ABC"},
                                                         {"W1ABC/4", "W1ABC/4|W4ABC"},
                                                         {"VP2E/W1AW/QRP", "VP2E/W1AW/QRP|VP2E"},
                                                         {"W1ABC/MM", "none"},
                                                         {"  ", "none"}};
  for (const auto& [call, parts] : lookups) {
    const auto key = lookupCall(call);
    EXPECT_EQ(key ? key->exact + "|" + key->prefixed : "none", parts) << call;
  }
}

// A split phone spot made at the end of 13:59; a spotter that cannot be placed (SpotByLat below
// -90) spotting at 23:42 yesterday; a spotted station that cannot be placed.
TEST(SpotFields, EveryValueOfPlacedSpotsAndSpotsThatCannotBePlaced) {
  const CtyDat cty = CtyDat::parse(kCtyExcerpt).table;
  constexpr std::int64_t kDay = 20000LL * 86'400'000, kMinute = 60'000;
  constexpr std::int64_t kArrival = kDay + 14 * 60 * kMinute + 30'000;  // 14:00:30
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
