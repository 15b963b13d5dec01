// Bands, modes and split offsets: what a spot's frequency and comment say about it.

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

// Band edges are inside; every band has a colour of its own, out of band another.
TEST(Band, EdgesAreInsideAndEveryBandHasAColourOfItsOwn) {
  const std::pair<double, std::string_view> edges[] = {
      {14000.0, "20m"}, {14350.0, "20m"}, {14350.1, ""}, {std::nan(""), ""}};
  for (const auto& [kHz, name] : edges) {
    EXPECT_EQ(bandOf(kHz) ? bandOf(kHz)->name : "", name) << kHz;
  }
  std::set<std::int32_t> colors{kOutOfBandColor};
  for (const double kHz : {136, 475, 1830, 3700, 5360, 7100, 10120, 14100, 18100, 21200, 24900,
                           28500, 50100, 70200, 145000, 432000}) {
    ASSERT_NE(bandOf(kHz), nullptr) << kHz;
    EXPECT_TRUE(colors.insert(bandColor(kHz)).second) << kHz;
  }
  EXPECT_EQ(bandColor(9000.0), kOutOfBandColor);
}

// A mode in the comment wins over the band plan; sideband by the band's convention (60 m: upper).
TEST(Modes, FromTheCommentOrTheBandPlanAndAsHamlibNamesThem) {
  const std::tuple<double, const char*, const char*> spots[] = {
      {14200.0, "tnx qso, psk31 up", "PSK31"},
      {14200.0, "loud in FM19", "SSB"},
      {7048.9, "", "FT4"},
      {70200.0, "", "SSB"},  // a band without a plan
      {9000.0, "", ""}};
  for (const auto& [kHz, comment, mode] : spots) EXPECT_EQ(spotMode(kHz, comment), mode) << comment;
  const std::tuple<const char*, double, std::optional<std::string>> hamlib[] = {
      {"ssb", 7100.0, "LSB"},     {"SSB", 5360.0, "USB"},       {"LSB", 14200.0, "LSB"},
      {" CW ", 14025.0, "CW"},    {"BPSK63", 7074.0, "PKTUSB"}, {"DV", 145500.0, std::nullopt},
      {"", 14025.0, std::nullopt}};
  for (const auto& [mode, kHz, name] : hamlib) EXPECT_EQ(hamlibMode(mode, kHz), name) << mode;
}

// Nothing usable means no split: another band, no or a silly offset, the spot itself.
TEST(Split, TransmitFrequencyFromComments) {
  const std::pair<const char*, double> cases[] = {
      {"CW UP 1.5", 14191.5}, {"up 1-3", 14191.0}, {"DOWN5", 14185.0}, {"qsx 14.195", 14195.0}};
  for (const auto& [comment, tx] : cases) {
    EXPECT_EQ(splitTransmitKHz(14190.0, comment), tx) << comment;
  }
  for (const char* comment : {"QSX 14190", "QSX 7.180", "UP 600", "up 0", "UPS 5", "up 5x"}) {
    EXPECT_EQ(splitTransmitKHz(14190.0, comment), std::nullopt) << comment;
  }
  EXPECT_EQ(splitTransmitKHz(std::nan(""), "up 5"), std::nullopt);
}

}  // namespace
}  // namespace orbelle::station
