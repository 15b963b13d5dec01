#include <gtest/gtest.h>

#include <cmath>

#include "core/hamlib.hpp"
#include "core/heading.hpp"
#include "core/rig_plan.hpp"
#include "core/utc_offset.hpp"

namespace orbelle::station {
namespace {

using Commands = std::vector<std::string>;

TEST(RotatorAzimuth, NorthStopFoldsIntoZeroTo360) {
  const auto fold = [](double h) { return *rotatorAzimuth(h, RotatorRange::From0To360); };
  EXPECT_EQ(fold(360.0), 0.0);  // the map's north
  EXPECT_EQ(fold(90.0), 90.0);
  EXPECT_EQ(fold(359.9), 359.9);
  EXPECT_EQ(fold(359.96), 0.0);  // rounds to 360.0 first
  EXPECT_EQ(fold(-90.0), 270.0);
  EXPECT_EQ(fold(720.3), 0.3);
  EXPECT_EQ(fold(0.25), 0.2);  // ties to even
  EXPECT_EQ(fold(0.75), 0.8);
  EXPECT_FALSE(std::signbit(fold(-0.01)));
}

TEST(RotatorAzimuth, SouthStopFoldsIntoMinus180To180) {
  const auto fold = [](double h) { return *rotatorAzimuth(h, RotatorRange::FromMinus180To180); };
  EXPECT_EQ(fold(360.0), 0.0);
  EXPECT_EQ(fold(179.9), 179.9);
  EXPECT_EQ(fold(180.0), -180.0);
  EXPECT_EQ(fold(270.0), -90.0);
  EXPECT_EQ(fold(-190.0), 170.0);
}

TEST(RotatorAzimuth, NoAzimuthForNonNumbers) {
  EXPECT_EQ(rotatorAzimuth(std::nan(""), RotatorRange::From0To360), std::nullopt);
  EXPECT_EQ(rotatorAzimuth(INFINITY, RotatorRange::FromMinus180To180), std::nullopt);
}

TEST(UtcOffset, HoursAddedToLocalTimeRoundedTiesToEven) {
  EXPECT_EQ(utcOffsetHours(0), 0);
  EXPECT_EQ(utcOffsetHours(3600), -1);      // UTC+1
  EXPECT_EQ(utcOffsetHours(-5 * 3600), 5);  // UTC-5
  EXPECT_EQ(utcOffsetHours(19800), -6);     // UTC+5:30: -5.5
  EXPECT_EQ(utcOffsetHours(-12600), 4);     // UTC-3:30: 3.5
  EXPECT_EQ(utcOffsetHours(-34200), 10);    // UTC-9:30: 9.5
  EXPECT_EQ(utcOffsetHours(20700), -6);     // UTC+5:45
  EXPECT_EQ(utcOffsetHours(14 * 3600), -14);
}

TEST(Hamlib, CommandLines) {
  EXPECT_EQ(hamlib::setPosition(123.4), "P 123.4 0");
  EXPECT_EQ(hamlib::setPosition(-180.0), "P -180.0 0");
  EXPECT_EQ(hamlib::kStop, "S");
  EXPECT_EQ(hamlib::setFrequency(14025500), "F 14025500");
  EXPECT_EQ(hamlib::setMode("PKTUSB"), "M PKTUSB 0");
  EXPECT_EQ(hamlib::setSplit(true), "S 1 VFOB");
  EXPECT_EQ(hamlib::setSplit(false), "S 0 VFOA");
  EXPECT_EQ(hamlib::setSplitFrequency(14030000), "I 14030000");
}

TEST(Hamlib, KilohertzToWholeHertz) {
  EXPECT_EQ(hamlib::kHzToHz(14025.5), 14025500);
  EXPECT_EQ(hamlib::kHzToHz(7023.1), 7023100);       // 7023.1 × 1000 is not exact in binary
  EXPECT_EQ(hamlib::kHzToHz(0.0625), 62);            // 62.5 Hz exactly: ties to even
  EXPECT_EQ(hamlib::kHzToHz(0.1875), 188);           // 187.5 Hz
  EXPECT_EQ(hamlib::kHzToHz(0.0004), std::nullopt);  // rounds to 0 Hz
  EXPECT_EQ(hamlib::kHzToHz(0.0), std::nullopt);
  EXPECT_EQ(hamlib::kHzToHz(-14025.0), std::nullopt);
  EXPECT_EQ(hamlib::kHzToHz(1e10), std::nullopt);
  EXPECT_EQ(hamlib::kHzToHz(std::nan("")), std::nullopt);
}

TEST(Hamlib, ReportLines) {
  EXPECT_EQ(hamlib::reportCode("RPRT 0"), 0);
  EXPECT_EQ(hamlib::reportCode("RPRT -1\r"), -1);
  EXPECT_EQ(hamlib::reportCode("  RPRT -11 "), -11);
  EXPECT_EQ(hamlib::reportCode("RPRT"), std::nullopt);
  EXPECT_EQ(hamlib::reportCode("RPRT x"), std::nullopt);
  EXPECT_EQ(hamlib::reportCode("RPRT 0 1"), std::nullopt);
  EXPECT_EQ(hamlib::reportCode("rprt 0"), std::nullopt);
  EXPECT_EQ(hamlib::reportCode("14025000"), std::nullopt);
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
