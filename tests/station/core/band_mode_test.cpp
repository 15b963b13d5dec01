#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "core/band.hpp"
#include "core/modes.hpp"
#include "core/split.hpp"

namespace orbelle::station {
namespace {

TEST(Band, EdgesAreInsideAndNeighboursOutside) {
  ASSERT_NE(bandOf(14000.0), nullptr);
  EXPECT_EQ(bandOf(14000.0)->name, "20m");
  EXPECT_EQ(bandOf(14350.0)->name, "20m");
  EXPECT_EQ(bandOf(13999.9), nullptr);
  EXPECT_EQ(bandOf(14350.1), nullptr);
  EXPECT_EQ(bandOf(1800.0)->name, "160m");
  EXPECT_EQ(bandOf(7074.0)->name, "40m");
  EXPECT_EQ(bandOf(50313.0)->name, "6m");
  EXPECT_EQ(bandOf(432200.0)->name, "70cm");
  EXPECT_EQ(bandOf(9000.0), nullptr);
  EXPECT_EQ(bandOf(std::nan("")), nullptr);
  EXPECT_EQ(bandOf(INFINITY), nullptr);
}

TEST(Band, EveryBandHasItsOwnColourAndOutOfBandDiffers) {
  const double probes[] = {136,   475,   1830,  3700,  5360,  7100,  10120,  14100,
                           18100, 21200, 24900, 28500, 50100, 70200, 145000, 432000};
  std::set<std::int32_t> colors;
  for (double kHz : probes) {
    ASSERT_NE(bandOf(kHz), nullptr) << kHz;
    const std::int32_t color = bandColor(kHz);
    EXPECT_GE(color, 0);
    EXPECT_LE(color, 0xFFFFFF);
    EXPECT_NE(color, kOutOfBandColor) << kHz;
    colors.insert(color);
  }
  EXPECT_EQ(colors.size(), std::size(probes));
  EXPECT_EQ(bandColor(9000.0), kOutOfBandColor);
  EXPECT_EQ(rgb(1, 2, 3), 1 + 2 * 256 + 3 * 65536);
}

TEST(Modes, CommentWordsNameTheMode) {
  EXPECT_EQ(modeInComment("CW 12 dB 25 WPM CQ"), "CW");
  EXPECT_EQ(modeInComment("ft8 -12 dB 1234 Hz"), "FT8");
  EXPECT_EQ(modeInComment("tnx qso, psk31 up"), "PSK31");
  EXPECT_EQ(modeInComment("RTTY 45 BPS"), "RTTY");
  EXPECT_EQ(modeInComment("up 5 SSB"), "SSB");
  EXPECT_EQ(modeInComment("loud in FM19"), "");  // a locator, not FM
  EXPECT_EQ(modeInComment("CWOPS member"), "");
  EXPECT_EQ(modeInComment("no data here"), "");
  EXPECT_EQ(modeInComment(""), "");
}

TEST(Modes, BandPlanGuessesByFrequency) {
  EXPECT_EQ(modeByBandPlan(14025.0), "CW");
  EXPECT_EQ(modeByBandPlan(14200.0), "SSB");
  EXPECT_EQ(modeByBandPlan(14075.5), "FT8");
  EXPECT_EQ(modeByBandPlan(7048.9), "FT4");
  EXPECT_EQ(modeByBandPlan(10120.0), "CW");
  EXPECT_EQ(modeByBandPlan(5380.0), "SSB");
  EXPECT_EQ(modeByBandPlan(29100.0), "AM");
  EXPECT_EQ(modeByBandPlan(29600.0), "FM");
  EXPECT_EQ(modeByBandPlan(144050.0), "CW");
  EXPECT_EQ(modeByBandPlan(145500.0), "FM");
  EXPECT_EQ(modeByBandPlan(70200.0), "SSB");
  EXPECT_EQ(modeByBandPlan(9000.0), "");
  EXPECT_EQ(spotMode(14200.0, "RTTY contest"), "RTTY");
  EXPECT_EQ(spotMode(14200.0, "tnx"), "SSB");
}

TEST(Modes, HamlibModesBySidebandConvention) {
  EXPECT_EQ(hamlibMode("SSB", 7100.0), "LSB");
  EXPECT_EQ(hamlibMode("ssb", 3700.0), "LSB");
  EXPECT_EQ(hamlibMode("SSB", 14200.0), "USB");
  EXPECT_EQ(hamlibMode("SSB", 10000.0), "USB");
  EXPECT_EQ(hamlibMode("SSB", 5360.0), "USB");  // 60 m uses the upper sideband
  EXPECT_EQ(hamlibMode("SSTV", 3735.0), "LSB");
  EXPECT_EQ(hamlibMode("LSB", 14200.0), "LSB");  // as the spot says
  EXPECT_EQ(hamlibMode(" CW ", 14025.0), "CW");
  EXPECT_EQ(hamlibMode("FM", 145500.0), "FM");
  EXPECT_EQ(hamlibMode("AM", 29100.0), "AM");
  EXPECT_EQ(hamlibMode("RTTY", 14085.0), "RTTY");
  for (const char* digital : {"FT8", "FT4", "PSK31", "BPSK63", "JT65", "OLIVIA", "MFSK16"}) {
    EXPECT_EQ(hamlibMode(digital, 7074.0), "PKTUSB") << digital;
  }
  EXPECT_EQ(hamlibMode("DV", 145500.0), std::nullopt);
  EXPECT_EQ(hamlibMode("XYZ", 14025.0), std::nullopt);
  EXPECT_EQ(hamlibMode("", 14025.0), std::nullopt);
}

TEST(Split, OffsetsAndQsxFromComments) {
  EXPECT_EQ(splitTransmitKHz(14195.0, "up 5"), 14200.0);
  EXPECT_EQ(splitTransmitKHz(14195.0, "UP5 loud"), 14200.0);
  EXPECT_EQ(splitTransmitKHz(14023.0, "CW UP 1.5"), 14024.5);
  EXPECT_EQ(splitTransmitKHz(14023.0, "up 1-3"), 14024.0);
  EXPECT_EQ(splitTransmitKHz(14195.0, "listening up 10kHz"), 14205.0);
  EXPECT_EQ(splitTransmitKHz(7180.0, "dn 2"), 7178.0);
  EXPECT_EQ(splitTransmitKHz(7180.0, "DOWN5"), 7175.0);
  EXPECT_EQ(splitTransmitKHz(14190.0, "QSX 14195"), 14195.0);
  EXPECT_EQ(splitTransmitKHz(14190.0, "qsx 14.195"), 14195.0);
}

TEST(Split, NothingUsableMeansNoSplit) {
  EXPECT_EQ(splitTransmitKHz(14190.0, "QSX 7.180"), std::nullopt);  // another band
  EXPECT_EQ(splitTransmitKHz(14195.0, "UP"), std::nullopt);
  EXPECT_EQ(splitTransmitKHz(14195.0, "up and down"), std::nullopt);
  EXPECT_EQ(splitTransmitKHz(14195.0, "UP 600"), std::nullopt);
  EXPECT_EQ(splitTransmitKHz(14195.0, "up 0"), std::nullopt);
  EXPECT_EQ(splitTransmitKHz(14195.0, "UPS 5"), std::nullopt);
  EXPECT_EQ(splitTransmitKHz(14195.0, "up 5x"), std::nullopt);
  EXPECT_EQ(splitTransmitKHz(14195.0, "CW 599"), std::nullopt);
  EXPECT_EQ(splitTransmitKHz(14195.0, "QSX 14195"), std::nullopt);  // the spot itself
  EXPECT_EQ(splitTransmitKHz(std::nan(""), "up 5"), std::nullopt);
}

}  // namespace
}  // namespace orbelle::station
