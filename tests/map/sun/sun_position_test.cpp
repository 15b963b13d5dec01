#include "sun/sun_position.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "sun/gray_line.hpp"
#include "sun/local_clock.hpp"

namespace orbelle {
namespace {

// The model's turning points (declination 0 on days 80 and 262.5, ±23 on days 171.25 and
// 353.75, the longitude at 15° per hour from 180 at 00:00 UTC), and a UTC instant on the other
// side of New Year from the local date. setGrayLine keeps them in single precision with the
// terminator's turning latitudes at ±(90 − |declination|).
TEST(SunPosition, WorkedInstantsAndTheGrayLineStateOfThem) {
  struct Case {
    DateTime t;
    int localYear;
    double day, longitude, declination;
  };
  const double noValue = NAN;  // the declination there: see the period rule below
  const Case cases[] = {
      {makeDateTime(2024, 3, 21, 0, 0, 0), 2024, 80, 180, 0},
      {makeDateTime(2024, 6, 20, 6, 0, 0), 2024, 171.25, 90, 23},
      {makeDateTime(2024, 9, 19, 12, 0, 0), 2024, 262.5, 0, 0},
      {makeDateTime(2024, 12, 19, 18, 0, 0), 2024, 353.75, -90, -23},
      {makeDateTime(2025, 1, 1, 3, 0, 0), 2024, 366.125, 135, noValue},
      {makeDateTime(2024, 12, 31, 21, 0, 0), 2025, -0.125, -135, noValue},
      {makeDateTime(2024, 6, 1, 23, 59, 59), 2024, 152 + 86399.0 / 86400, -179.99583333333334,
       noValue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.day);
    EXPECT_NEAR(DayOfYear(c.t, c.localYear), c.day, 1e-9);
    EXPECT_NEAR(SunLongitude(c.t), c.longitude, 1e-9);
    const double declination = SunDeclination(c.t, c.localYear);
    if (!std::isnan(c.declination)) {
      EXPECT_NEAR(declination, c.declination, 1e-12);
    }
    GrayLine g;
    setGrayLine(g, 33.9, -84.179, c.t, c.localYear);
    EXPECT_EQ(g.GrayHomeLat, 33.9f);
    EXPECT_EQ(g.GrayHomeLon, -84.179f);
    EXPECT_EQ(g.SunDecl, static_cast<float>(declination));
    EXPECT_EQ(g.SunLon, static_cast<float>(c.longitude));
    EXPECT_FLOAT_EQ(g.GrayMaxLat, 90 - std::fabs(g.SunDecl));
    EXPECT_EQ(g.GrayMinLat, -g.GrayMaxLat);
  }
  // The 365-day period absorbs a local year one off.
  EXPECT_NEAR(SunDeclination(makeDateTime(2025, 1, 1, 3, 0, 0), 2024),
              SunDeclination(makeDateTime(2024, 1, 2, 3, 0, 0), 2024), 1e-9);
  EXPECT_DOUBLE_EQ(DecimalHours(makeDateTime(2024, 6, 1, 13, 30, 36)), 13.51);
}

TEST(LocalClock, SystemClocksDifferByTheZoneOffset) {
  // Against the C library's view of the same second (retried across a change of second).
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::time_t before = std::time(nullptr);
    const DateTime utc = systemUtcNow(), local = systemLocalNow();
    const double hoursToUtc = systemHoursToUtc();
    if (std::time(nullptr) != before) continue;
    std::tm l{};
    ::localtime_r(&before, &l);
    EXPECT_NEAR(local.serial - utc.serial, static_cast<double>(l.tm_gmtoff) / 86400, 1e-9);
    EXPECT_EQ(hoursToUtc, -static_cast<double>(l.tm_gmtoff) / 3600);
    EXPECT_NEAR(utc.serial, static_cast<double>(before) / 86400 + 25569, 1e-9);
    return;
  }
  GTEST_SKIP() << "clock kept changing seconds";
}

}  // namespace
}  // namespace orbelle
