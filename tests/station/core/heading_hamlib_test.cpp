#include <gtest/gtest.h>

#include <cmath>

#include "core/hamlib.hpp"
#include "core/heading.hpp"
#include "core/rig_plan.hpp"
#include "core/utc_offset.hpp"

namespace orbelle::station {
namespace {

using Commands = std::vector<std::string>;

TEST(RotatorAzimuth, FoldsIntoTheRotatorsRangeToTenthsTiesToEven) {
  // North stop: 360 is the map's north; 359.96 rounds to 360.0 first.
  const std::pair<double, double> north[] = {{360.0, 0.0},  {90.0, 90.0},   {359.9, 359.9},
                                             {359.96, 0.0}, {-90.0, 270.0}, {720.3, 0.3},
                                             {0.25, 0.2},   {0.75, 0.8}};
  for (const auto& [h, azimuth] : north) {
    EXPECT_EQ(rotatorAzimuth(h, RotatorRange::From0To360), azimuth) << h;
  }
  EXPECT_FALSE(std::signbit(*rotatorAzimuth(-0.01, RotatorRange::From0To360)));
  const std::pair<double, double> south[] = {
      {360.0, 0.0}, {179.9, 179.9}, {180.0, -180.0}, {270.0, -90.0}, {-190.0, 170.0}};
  for (const auto& [h, azimuth] : south) {
    EXPECT_EQ(rotatorAzimuth(h, RotatorRange::FromMinus180To180), azimuth) << h;
  }
  EXPECT_EQ(rotatorAzimuth(std::nan(""), RotatorRange::From0To360), std::nullopt);
  EXPECT_EQ(rotatorAzimuth(INFINITY, RotatorRange::FromMinus180To180), std::nullopt);
}

TEST(UtcOffset, HoursAddedToLocalTimeRoundedTiesToEven) {
  // UTC+1, UTC-5, UTC+5:30 (-5.5), UTC-3:30 (3.5), UTC-9:30 (9.5), UTC+5:45, UTC+14.
  const std::pair<int, int> cases[] = {{0, 0},      {3600, -1},   {-5 * 3600, 5}, {19800, -6},
                                       {-12600, 4}, {-34200, 10}, {20700, -6},    {14 * 3600, -14}};
  for (const auto& [seconds, hours] : cases) EXPECT_EQ(utcOffsetHours(seconds), hours) << seconds;
}

TEST(Hamlib, CommandLines) {
  EXPECT_EQ(hamlib::setPosition(123.4), "P 123.4 0");
  EXPECT_EQ(hamlib::setPosition(-180.0), "P -180.0 0");
  EXPECT_EQ(hamlib::setFrequency(14025500), "F 14025500");
  EXPECT_EQ(hamlib::setMode("PKTUSB"), "M PKTUSB 0");
  EXPECT_EQ(hamlib::setSplit(true), "S 1 VFOB");
  EXPECT_EQ(hamlib::setSplit(false), "S 0 VFOA");
  EXPECT_EQ(hamlib::setSplitFrequency(14030000), "I 14030000");
}

TEST(Hamlib, KilohertzToWholeHertz) {
  // 7023.1 × 1000 is not exact in binary; 62.5 and 187.5 Hz tie to even; 0.4 Hz rounds to none.
  const std::pair<double, std::optional<std::int64_t>> cases[] = {
      {14025.5, 14025500}, {7023.1, 7023100}, {0.0625, 62}, {0.1875, 188},     {0.0004, {}},
      {0.0, {}},           {-14025.0, {}},    {1e10, {}},   {std::nan(""), {}}};
  for (const auto& [kHz, hz] : cases) EXPECT_EQ(hamlib::kHzToHz(kHz), hz) << kHz;
}

TEST(Hamlib, ReportLines) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"RPRT 0", 0},  {"RPRT -1\r", -1}, {"  RPRT -11 ", -11}, {"RPRT", {}},
      {"RPRT x", {}}, {"RPRT 0 1", {}},  {"rprt 0", {}},       {"14025000", {}}};
  for (const auto& [line, code] : cases) EXPECT_EQ(hamlib::reportCode(line), code) << line;
  EXPECT_EQ(hamlib::errorText(-1), "invalid parameter");
  EXPECT_EQ(hamlib::errorText(-20), "rig not powered on");
  EXPECT_EQ(hamlib::errorText(-21), "error");
  EXPECT_EQ(hamlib::errorText(3), "error");
}

TEST(RigPlan, SimplexSpotTunesSetsModeAndTurnsSplitOff) {
  const RigPlan plan = planRig({14025.0, 0.0, "CW"});
  EXPECT_EQ(plan.commands, (Commands{"F 14025000", "M CW 0", "S 0 VFOA"}));
  EXPECT_TRUE(plan.notes.empty());
  EXPECT_EQ(planRig({7100.0, 0.0, "SSB"}).commands, (Commands{"F 7100000", "M LSB 0", "S 0 VFOA"}));
  EXPECT_EQ(planRig({14074.0, 0.0, "FT8"}).commands,
            (Commands{"F 14074000", "M PKTUSB 0", "S 0 VFOA"}));
}

TEST(RigPlan, SplitSpotSetsTheTransmitFrequency) {
  EXPECT_EQ(planRig({14195.0, 14200.0, "SSB"}).commands,
            (Commands{"F 14195000", "M USB 0", "S 1 VFOB", "I 14200000"}));
  // Equal in whole hertz: not split.
  EXPECT_EQ(planRig({14025.0, 14025.0004, "CW"}).commands,
            (Commands{"F 14025000", "M CW 0", "S 0 VFOA"}));
}

TEST(RigPlan, UnusableValuesAreLeftOutWithANote) {
  RigPlan plan = planRig({std::nan(""), 14200.0, "SSB"});
  EXPECT_TRUE(plan.commands.empty());
  ASSERT_EQ(plan.notes.size(), 1u);
  plan = planRig({14025.0, 0.0, "XYZ"});
  EXPECT_EQ(plan.commands, (Commands{"F 14025000", "S 0 VFOA"}));
  ASSERT_EQ(plan.notes.size(), 1u);
  EXPECT_NE(plan.notes[0].find("XYZ"), std::string::npos);
  plan = planRig({14025.0, -5.0, "CW"});
  EXPECT_EQ(plan.commands, (Commands{"F 14025000", "M CW 0", "S 0 VFOA"}));
  EXPECT_EQ(plan.notes.size(), 1u);
}

}  // namespace
}  // namespace orbelle::station
