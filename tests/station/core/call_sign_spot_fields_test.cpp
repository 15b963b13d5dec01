#include <gtest/gtest.h>

#include "core/call_sign.hpp"
#include "core/spot_fields.hpp"
#include "peers/cty_excerpt.hpp"

namespace orbelle::station {
namespace {

TEST(CallSign, WordsThatAreCalls) {
  for (const char* call : {"ZS6AAA", "4U1UN", "EA8/DL1ABC/P", "T6A", "W1AW"}) {
    EXPECT_TRUE(isCallSignWord(call)) << call;
  }
  for (const char* word :
       {"", "CQ", "599", "/W1AW", "W1AW/", "W1-AW", "K1ABC.", "TOOLONGCALLSIGN123456"}) {
    EXPECT_FALSE(isCallSignWord(word)) << word;
  }
  EXPECT_TRUE(isSpotterWord("EA5WU-#"));
  EXPECT_TRUE(isSpotterWord("W3LPL-2"));
  EXPECT_TRUE(isSpotterWord("DL0XX-@"));
  EXPECT_FALSE(isSpotterWord("W3LPL-"));
  EXPECT_FALSE(isSpotterWord("W3LPL-TOOLONG"));
  EXPECT_FALSE(isSpotterWord("-#"));
  EXPECT_EQ(withoutNodeSuffix("EA5WU-#"), "EA5WU");
  EXPECT_EQ(withoutNodeSuffix("W3LPL"), "W3LPL");
}

TEST(CallSign, LookupParts) {
  const auto parts = [](std::string_view call) {
    const auto key = lookupCall(call);
    return key ? key->exact + "|" + key->prefixed : std::string("none");
  };
  EXPECT_EQ(parts("dl1abc/p"), "DL1ABC/P|DL1ABC");
  EXPECT_EQ(parts("EA8/DL1ABC"), "EA8/DL1ABC|EA8");
  EXPECT_EQ(parts("DL1ABC/EA8"), "DL1ABC/EA8|EA8");
  EXPECT_EQ(parts("W1ABC/4"), "W1ABC/4|W4ABC");
  EXPECT_EQ(parts("VP2E/W1AW/QRP"), "VP2E/W1AW/QRP|VP2E");
  EXPECT_EQ(parts("W1ABC/MM"), "none");
  EXPECT_EQ(parts("P/W1ABC"), "P/W1ABC|P");  // only later parts are designators
  EXPECT_EQ(parts("  "), "none");
}

// 14:00:30 UTC on some day.
constexpr std::int64_t kArrival = (20000LL * 86400 + 14 * 3600 + 30) * 1000;

class SpotFields : public ::testing::Test {
 protected:
  CtyDat cty = CtyDat::parse(kCtyExcerpt).table;

  DxSpot spot(std::string line) {
    const ClusterLine parsed = parseClusterLine(line);
    EXPECT_EQ(parsed.kind, LineKind::Spot) << parsed.fault;
    return parsed.spot;
  }
};

TEST_F(SpotFields, EveryFieldOfASplitPhoneSpot) {
  const auto placed = placeSpot(
      spot("DX de EA5WU-#:  14195.0  VP8LP        up 5 tnx QSO                   1359Z IM98"), cty,
      kArrival);
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->dxContinent, "SA");
  EXPECT_EQ(placed->spotterContinent, "EU");
  EXPECT_EQ(placed->madeAtMs, kArrival - kArrival % 60'000 - 1);  // the end of 13:59
  const AddSpotFields* f = &placed->fields;
  EXPECT_DOUBLE_EQ(f->LatDeg, -51.63);
  EXPECT_DOUBLE_EQ(f->LonDeg, -58.72);
  EXPECT_EQ(f->Color, bandColor(14195.0));
  EXPECT_EQ(f->Color, bandOf(14100.0)->color);
  EXPECT_DOUBLE_EQ(f->SpotFreq, 14195.0);
  EXPECT_EQ(f->Mode, "SSB");
  EXPECT_EQ(f->SpotCall, "VP8LP");
  EXPECT_EQ(f->SpotTime, "1359Z");
  EXPECT_EQ(f->SpotBy, "EA5WU-#");
  EXPECT_EQ(f->SpotComment, "up 5 tnx QSO");
  EXPECT_EQ(f->SpotLoc, "Falkland Islands");
  EXPECT_DOUBLE_EQ(f->SpotByLat, 40.37);
  EXPECT_DOUBLE_EQ(f->SpotByLon, -4.88);
  EXPECT_EQ(f->SpotByColor, kSpotterColor);
  EXPECT_EQ(f->SpotByLoc, "Spain");
  EXPECT_DOUBLE_EQ(f->SpotFreqTX, 14200.0);
}

TEST_F(SpotFields, SpotterThatCannotBePlacedAndSimplexSpot) {
  const auto placed =
      placeSpot(spot("DX de XX9ZZ:  7023.1  JA1ABC  CW 12 dB 25 WPM CQ  2342Z"), cty, kArrival);
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->spotterContinent, "");
  const AddSpotFields* f = &placed->fields;
  EXPECT_EQ(f->SpotLoc, "Japan");
  EXPECT_LT(f->SpotByLat, -90.0);
  EXPECT_EQ(f->SpotByLoc, "");
  EXPECT_EQ(f->Mode, "CW");
  EXPECT_EQ(f->SpotFreqTX, 0.0);
}

TEST_F(SpotFields, SpotThatCannotBePlacedIsNotMade) {
  EXPECT_FALSE(placeSpot(spot("DX de W3LPL:  14025.0  XX9ZZ  CW  1359Z"), cty, kArrival));
  EXPECT_FALSE(placeSpot(spot("DX de W3LPL:  14025.0  DL1ABC/MM  CW  1359Z"), cty, kArrival));
}

}  // namespace
}  // namespace orbelle::station
