// Cluster spot lines: their fields read, other output told apart, malformed spots refused.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dx_spot_line.hpp"

namespace orbelle::station {
namespace {

// Fixed columns, a spotter against the colon, no comment, a time inside the comment; then faults.
TEST(DxSpotLine, ReadsSpotLinesAndSaysWhyMalformedOnesAreNot) {
  const std::pair<const char*, DxSpot> spots[] = {
      {"DX de W3LPL:     14025.0  ZS6AAA       CW 599 up 2                    1359Z FN20\r\n",
       {"W3LPL", 14025.0, "ZS6AAA", "CW 599 up 2", "1359Z", "FN20"}},
      {"dx de ve7cc-1:1824  zl2aaa  2359z", {"VE7CC-1", 1824.0, "ZL2AAA", "", "2359Z", ""}},
      {"DX de DL1ABC:  21074.0  PY2XX   FT8  -12dB   QSL 1200Z via bureau  0730Z",
       {"DL1ABC", 21074.0, "PY2XX", "FT8  -12dB   QSL 1200Z via bureau", "0730Z", ""}}};
  for (const auto& [text, spot] : spots) {
    const ClusterLine line = parseClusterLine(text);
    ASSERT_EQ(line.kind, LineKind::Spot) << line.fault;
    EXPECT_EQ(
        std::tie(line.spot.spotter, line.spot.frequencyKHz, line.spot.call, line.spot.comment,
                 line.spot.time, line.spot.locator),
        std::tie(spot.spotter, spot.frequencyKHz, spot.call, spot.comment, spot.time, spot.locator))
        << text;
  }
  // Not spots; then malformed spots, each with a fault.
  for (const char* text :
       {"W3LPL de VE7CC 12-Jan-2024 1359Z dxspider >", "DXde W3LPL: 14025.0 ZS6AAA CW 1359Z"}) {
    EXPECT_EQ(parseClusterLine(text).kind, LineKind::NotASpot) << text;
  }
  for (const char* text :
       {"DX de W3LPL  14025.0 ZS6AAA CW 1359Z", "DX de : 14025.0 ZS6AAA CW 1359Z",
        "DX de W3LPL: 1e4 ZS6AAA CW 1359Z", "DX de W3LPL: 400000000 ZS6AAA CW 1359Z",
        "DX de W3LPL: 14025.0 ?!? CW 1359Z", "DX de W3LPL: 14025.0 ZS6AAA CW 1360Z",
        "DX de W3LPL: 14025.0 ZS6AAA", "DX de W3 LPL: 14025.0 ZS6AAA CW 1359Z",
        "DX de W3LPL: 14025.0 ZS6AAA CW FN20"}) {
    const ClusterLine line = parseClusterLine(text);
    EXPECT_EQ(line.kind, LineKind::Malformed) << text;
    EXPECT_NE(line.fault, "") << text;
  }
}

}  // namespace
}  // namespace orbelle::station
