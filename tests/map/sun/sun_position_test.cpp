#include "sun/sun_position.hpp"

#include <gtest/gtest.h>

#include <ctime>

#include "sun/gray_line.hpp"
#include "sun/local_clock.hpp"

namespace orbelle {
namespace {

DateTime dayNumber(int year, double days) { return DateTime{DateSerial(year, 1, 1).serial + days}; }

TEST(SunPosition, DayOfYearCountsFromTheLocalYear) {
  EXPECT_DOUBLE_EQ(DayOfYear(makeDateTime(2024, 1, 1, 12, 0, 0), 2024), 0.5);
  EXPECT_DOUBLE_EQ(DayOfYear(makeDateTime(2024, 3, 1, 0, 0, 0), 2024), 60);
  // A UTC instant already in the next year, while the local date is still 31 December.
  EXPECT_DOUBLE_EQ(DayOfYear(makeDateTime(2025, 1, 1, 3, 0, 0), 2024), 366.125);
  EXPECT_DOUBLE_EQ(DayOfYear(makeDateTime(2024, 12, 31, 21, 0, 0), 2025), -0.125);
}

TEST(SunPosition, SubSolarLongitudeFollowsTheClock) {
  const struct {
    int hour, minute, second;
    double longitude;
  } cases[] = {{0, 0, 0, 180},
               {6, 0, 0, 90},
               {12, 0, 0, 0},
               {18, 0, 0, -90},
               {23, 59, 59, -179.99583333333334}};
  for (const auto& c : cases) {
    const DateTime t = makeDateTime(2024, 6, 1, c.hour, c.minute, c.second);
    EXPECT_NEAR(SunLongitude(t), c.longitude, 1e-9) << c.hour << ":" << c.minute;
  }
  EXPECT_DOUBLE_EQ(DecimalHours(makeDateTime(2024, 6, 1, 13, 30, 36)), 13.51);
}

TEST(SunPosition, DeclinationSine) {
  EXPECT_NEAR(SunDeclination(dayNumber(2024, 80), 2024), 0, 1e-12);
  EXPECT_NEAR(SunDeclination(dayNumber(2024, 262.5), 2024), 0, 1e-12);
  EXPECT_NEAR(SunDeclination(dayNumber(2024, 171.25), 2024), 23, 1e-12);
  EXPECT_NEAR(SunDeclination(dayNumber(2024, 353.75), 2024), -23, 1e-12);
  // The 365-day period absorbs a local year one off.
  EXPECT_NEAR(SunDeclination(dayNumber(2024, 365 + 10), 2024),
              SunDeclination(dayNumber(2024, 10), 2024), 1e-9);
}

TEST(GrayLineState, TurningLatitudesFollowTheDeclination) {
  GrayLine g;
  setGrayLine(g, 33.9, -84.179, dayNumber(2024, 80), 2024);
  EXPECT_EQ(g.GrayHomeLat, 33.9f);
  EXPECT_EQ(g.GrayHomeLon, -84.179f);
  EXPECT_NEAR(g.SunDecl, 0, 1e-6);
  EXPECT_FLOAT_EQ(g.GrayMaxLat, 90);
  EXPECT_FLOAT_EQ(g.GrayMinLat, -90);
  EXPECT_EQ(g.SunLon, 180);

  setGrayLine(g, 0, 0, dayNumber(2024, 171.25), 2024);  // 06:00
  EXPECT_FLOAT_EQ(g.SunDecl, 23);
  EXPECT_FLOAT_EQ(g.GrayMaxLat, 67);
  EXPECT_FLOAT_EQ(g.GrayMinLat, -67);
  EXPECT_EQ(g.SunLon, 90);

  setGrayLine(g, 0, 0, dayNumber(2024, 353.75), 2024);  // 18:00
  EXPECT_FLOAT_EQ(g.SunDecl, -23);
  EXPECT_FLOAT_EQ(g.GrayMaxLat, 67);
  EXPECT_FLOAT_EQ(g.GrayMinLat, -67);
  EXPECT_EQ(g.SunLon, -90);
}

TEST(LocalClock, SystemClocksDifferByTheZoneOffset) {
  // Compare against the C library's own view of the same second (retry across a second change).
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::time_t before = std::time(nullptr);
    const DateTime utc = systemUtcNow();
    const DateTime local = systemLocalNow();
    if (std::time(nullptr) != before) continue;
    std::tm l{};
    ::localtime_r(&before, &l);
    const double offsetDays = static_cast<double>(l.tm_gmtoff) / 86400;
    EXPECT_NEAR(local.serial - utc.serial, offsetDays, 1e-9);
    EXPECT_NEAR(utc.serial, static_cast<double>(before) / 86400 + 25569, 1e-9);
    return;
  }
  GTEST_SKIP() << "clock kept changing seconds";
}

}  // namespace
}  // namespace orbelle
