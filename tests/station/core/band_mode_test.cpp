#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <set>
#include <string>
#include <tuple>

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
  // "FM19" is a locator, not FM.
  const std::pair<const char*, const char*> cases[] = {
      {"CW 12 dB 25 WPM CQ", "CW"}, {"ft8 -12 dB", "FT8"}, {"tnx qso, psk31 up", "PSK31"},
      {"RTTY 45 BPS", "RTTY"},      {"up 5 SSB", "SSB"},   {"loud in FM19", ""},
      {"CWOPS member", ""},         {"no data here", ""},  {"", ""}};
  for (const auto& [comment, mode] : cases) EXPECT_EQ(modeInComment(comment), mode) << comment;
}

TEST(Modes, BandPlanGuessesByFrequency) {
  const std::pair<double, const char*> cases[] = {
      {14025.0, "CW"},  {14200.0, "SSB"}, {14075.5, "FT8"}, {7048.9, "FT4"},
      {10120.0, "CW"},  {5380.0, "SSB"},  {29100.0, "AM"},  {29600.0, "FM"},
      {144050.0, "CW"}, {145500.0, "FM"}, {70200.0, "SSB"}, {9000.0, ""}};
  for (const auto& [kHz, mode] : cases) EXPECT_EQ(modeByBandPlan(kHz), mode) << kHz;
  EXPECT_EQ(spotMode(14200.0, "RTTY contest"), "RTTY");
  EXPECT_EQ(spotMode(14200.0, "tnx"), "SSB");
}

TEST(Modes, HamlibModesBySidebandConvention) {
  // 60 m uses the upper sideband; a sideband the spot names is kept.
  const std::tuple<const char*, double, std::optional<std::string>> cases[] = {
      {"SSB", 7100.0, "LSB"},         {"ssb", 3700.0, "LSB"},     {"SSB", 14200.0, "USB"},
      {"SSB", 10000.0, "USB"},        {"SSB", 5360.0, "USB"},     {"SSTV", 3735.0, "LSB"},
      {"LSB", 14200.0, "LSB"},        {" CW ", 14025.0, "CW"},    {"FM", 145500.0, "FM"},
      {"AM", 29100.0, "AM"},          {"RTTY", 14085.0, "RTTY"},  {"DV", 145500.0, std::nullopt},
      {"XYZ", 14025.0, std::nullopt}, {"", 14025.0, std::nullopt}};
  for (const auto& [mode, kHz, hamlib] : cases) EXPECT_EQ(hamlibMode(mode, kHz), hamlib) << mode;
  for (const char* digital : {"FT8", "FT4", "PSK31", "BPSK63", "JT65", "OLIVIA", "MFSK16"}) {
    EXPECT_EQ(hamlibMode(digital, 7074.0), "PKTUSB") << digital;
  }
}

TEST(Split, TransmitFrequencyFromComments) {
  const std::tuple<double, const char*, std::optional<double>> cases[] = {
      {14195.0, "up 5", 14200.0},      {14195.0, "UP5 loud", 14200.0},
      {14023.0, "CW UP 1.5", 14024.5}, {14023.0, "up 1-3", 14024.0},
      {7180.0, "dn 2", 7178.0},        {7180.0, "DOWN5", 7175.0},
      {14190.0, "QSX 14195", 14195.0}, {14190.0, "qsx 14.195", 14195.0}};
  for (const auto& [kHz, comment, tx] : cases)
    EXPECT_EQ(splitTransmitKHz(kHz, comment), tx) << comment;
  EXPECT_EQ(splitTransmitKHz(14195.0, "listening up 10kHz"), 14205.0);
  // Nothing usable means no split: another band, no or a silly offset, the spot itself.
  for (const char* comment :
       {"QSX 7.180", "UP", "up and down", "UP 600", "up 0", "UPS 5", "up 5x", "CW 599"}) {
    EXPECT_EQ(splitTransmitKHz(14190.0, comment), std::nullopt) << comment;
  }
  EXPECT_EQ(splitTransmitKHz(14195.0, "QSX 14195"), std::nullopt);
  EXPECT_EQ(splitTransmitKHz(std::nan(""), "up 5"), std::nullopt);
}

}  // namespace
}  // namespace orbelle::station
