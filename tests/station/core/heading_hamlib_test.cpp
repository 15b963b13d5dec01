// What goes to Hamlib's daemons: the rotator's azimuth, the rig's commands, and their replies.

#include <gtest/gtest.h>

#include <cmath>

#include "core/hamlib.hpp"
#include "core/heading.hpp"
#include "core/rig_plan.hpp"
#include "core/utc_offset.hpp"

namespace orbelle::station {
namespace {

// Folded into the range to tenths, ties to even; 359.96 rounds to 360.0, the map's north, first.
TEST(RotatorAzimuth, FoldsIntoTheRotatorsRangeToTenthsTiesToEven) {
  constexpr auto north = RotatorRange::From0To360, south = RotatorRange::FromMinus180To180;
  const std::tuple<double, RotatorRange, std::optional<double>> cases[] = {
      {359.96, north, 0.0},
      {-90.0, north, 270.0},
      {0.25, north, 0.2},
      {0.75, north, 0.8},
      {180.0, south, -180.0},
      {-190.0, south, 170.0},
      {std::nan(""), north, std::nullopt}};
  for (const auto& [heading, range, azimuth] : cases) {
    EXPECT_EQ(rotatorAzimuth(heading, range), azimuth) << heading;
  }
  EXPECT_FALSE(std::signbit(*rotatorAzimuth(-0.01, north)));
}

// Hours added to local time, ties to even: UTC+1, UTC+5:30, UTC-3:30.
TEST(UtcOffset, HoursAddedToLocalTimeRoundedTiesToEven) {
  for (const auto& [seconds, hours] : {std::pair{3600, -1}, {19800, -6}, {-12600, 4}}) {
    EXPECT_EQ(utcOffsetHours(seconds), hours) << seconds;
  }
}

// 7023.1 × 1000 is not exact in binary; 62.5 and 187.5 Hz tie to even; 0.4 Hz rounds to none.
TEST(Hamlib, KilohertzToWholeHertzAndReportLines) {
  const std::pair<double, std::optional<std::int64_t>> hertz[] = {
      {7023.1, 7023100}, {0.0625, 62}, {0.1875, 188}, {0.0004, {}}, {-14025.0, {}}, {1e10, {}}};
  for (const auto& [kHz, hz] : hertz) EXPECT_EQ(hamlib::kHzToHz(kHz), hz) << kHz;
  const std::pair<const char*, std::optional<int>> reports[] = {
      {"  RPRT -11 ", -11}, {"RPRT", {}}, {"RPRT 0 1", {}}, {"rprt 0", {}}};
  for (const auto& [line, code] : reports) EXPECT_EQ(hamlib::reportCode(line), code) << line;
  EXPECT_EQ(hamlib::errorText(3), "error");
}

// Tune, set the mode and split, or leave out what is unusable with a note.
TEST(RigPlan, TuneSetTheModeAndSplitOrLeaveOutWhatIsUnusableWithANote) {
  const struct Case {
    RigRequest request;
    std::vector<std::string> commands;
    std::size_t notes;
  } cases[] = {
      {{14195.0, 14200.0, "SSB"}, {"F 14195000", "M USB 0", "S 1 VFOB", "I 14200000"}, 0},
      {{14025.0, 14025.0004, "CW"}, {"F 14025000", "M CW 0", "S 0 VFOA"}, 0},  // equal in Hz
      {{14025.0, 0.0, "XYZ"}, {"F 14025000", "S 0 VFOA"}, 1},
      {{14025.0, -5.0, "CW"}, {"F 14025000", "M CW 0", "S 0 VFOA"}, 1},
      {{std::nan(""), 14200.0, "SSB"}, {}, 1}};
  for (const Case& c : cases) {
    const RigPlan plan = planRig(c.request);
    EXPECT_EQ(plan.commands, c.commands) << c.request.frequencyKHz << " " << c.request.mode;
    EXPECT_EQ(plan.notes.size(), c.notes) << c.request.frequencyKHz << " " << c.request.mode;
  }
}

}  // namespace
}  // namespace orbelle::station
