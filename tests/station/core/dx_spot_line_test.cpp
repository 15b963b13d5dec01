#include "core/dx_spot_line.hpp"

#include <gtest/gtest.h>

namespace orbelle::station {
namespace {

// Fixed columns with a locator; a skimmer's line with bells and a node suffix; a long spotter
// pushing the frequency against the colon; lower case and no comment; a comment keeping its own
// spacing and a time inside it (the last time counts).
TEST(DxSpotLine, ReadsTheFieldsOfSpotLines) {
  struct Case {
    const char* text;
    DxSpot spot;
  };
  const Case cases[] = {
      {"DX de W3LPL:     14025.0  ZS6AAA       CW 599 up 2                    1359Z FN20\r\n",
       {"W3LPL", 14025.0, "ZS6AAA", "CW 599 up 2", "1359Z", "FN20"}},
      {"DX de EA5WU-#:   7023.1  JA1ABC       CW 12 dB 25 WPM CQ             2342Z\a\a\r\n",
       {"EA5WU-#", 7023.1, "JA1ABC", "CW 12 dB 25 WPM CQ", "2342Z", ""}},
      {"DX de VE7CC-1:14195.0  vp8lp   up 5 SSB   0012Z",
       {"VE7CC-1", 14195.0, "VP8LP", "up 5 SSB", "0012Z", ""}},
      {"dx de k1ttt:  1824  ZL2AAA  2359z", {"K1TTT", 1824.0, "ZL2AAA", "", "2359Z", ""}},
      {"DX de DL1ABC:  21074.0  PY2XX   FT8  -12dB   QSL 1200Z via bureau  0730Z",
       {"DL1ABC", 21074.0, "PY2XX", "FT8  -12dB   QSL 1200Z via bureau", "0730Z", ""}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ClusterLine line = parseClusterLine(c.text);
    ASSERT_EQ(line.kind, LineKind::Spot) << line.fault;
    EXPECT_EQ(line.spot.spotter, c.spot.spotter);
    EXPECT_DOUBLE_EQ(line.spot.frequencyKHz, c.spot.frequencyKHz);
    EXPECT_EQ(line.spot.call, c.spot.call);
    EXPECT_EQ(line.spot.comment, c.spot.comment);
    EXPECT_EQ(line.spot.time, c.spot.time);
    EXPECT_EQ(line.spot.locator, c.spot.locator);
  }
}

TEST(DxSpotLine, OtherClusterOutputIsNotASpot) {
  for (const char* text : {"", "login: ", "W3LPL de VE7CC 12-Jan-2024 1359Z dxspider >",
                           "To ALL de K1TTT: contest starts 0000Z",
                           "WWV de W0MU <18>:   SFI=150, A=5, K=1, No Storms -> No Storms",
                           "DXde W3LPL: 14025.0 ZS6AAA CW 1359Z"}) {
    EXPECT_EQ(parseClusterLine(text).kind, LineKind::NotASpot) << text;
  }
}

TEST(DxSpotLine, MalformedSpotLinesSayWhy) {
  for (const char* text : {
           "DX de W3LPL  14025.0 ZS6AAA CW 1359Z",    // no colon
           "DX de : 14025.0 ZS6AAA CW 1359Z",         // no spotter
           "DX de W3LPL: abc ZS6AAA CW 1359Z",        // frequency
           "DX de W3LPL: -14025.0 ZS6AAA CW 1359Z",   // negative frequency
           "DX de W3LPL: 1e4 ZS6AAA CW 1359Z",        // exponent
           "DX de W3LPL: 14025.0 ?!? CW 1359Z",       // call
           "DX de W3LPL: 14025.0 ZS6AAA CW 2460Z",    // hour 24
           "DX de W3LPL: 14025.0 ZS6AAA CW 1360Z",    // minute 60
           "DX de W3LPL: 14025.0 ZS6AAA CW 1359",     // no Z
           "DX de W3LPL: 14025.0 ZS6AAA",             // too short
           "DX de W3 LPL: 14025.0 ZS6AAA CW 1359Z",   // blank in the spotter
           "DX de W3LPL: 400000000 ZS6AAA CW 1359Z",  // beyond any radio
       }) {
    const ClusterLine line = parseClusterLine(text);
    EXPECT_EQ(line.kind, LineKind::Malformed) << text;
    EXPECT_FALSE(line.fault.empty()) << text;
  }
}

TEST(DxSpotLine, ALocatorWithoutTimeBeforeItIsNotTakenForOne) {
  // "FN20" is the last word but no time precedes it: the line has no time.
  EXPECT_EQ(parseClusterLine("DX de W3LPL: 14025.0 ZS6AAA CW FN20").kind, LineKind::Malformed);
}

}  // namespace
}  // namespace orbelle::station
