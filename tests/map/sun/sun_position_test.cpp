#include "sun/sun_position.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

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

// In a zone of known offset (India, 5.5 hours east of UTC, no daylight saving time); the two
// clocks may be read a second apart.
TEST(LocalClock, SystemClocksDifferByTheZoneOffset) {
  const char* saved = std::getenv("TZ");
  const std::string zone = saved != nullptr ? saved : "";
  ASSERT_EQ(setenv("TZ", "IST-5:30", 1), 0);
  tzset();
  const double hoursToUtc = systemHoursToUtc();
  const double hoursAhead = (systemLocalNow().serial - systemUtcNow().serial) * 24;
  saved != nullptr ? setenv("TZ", zone.c_str(), 1) : unsetenv("TZ");
  tzset();
  EXPECT_EQ(hoursToUtc, -5.5);
  EXPECT_NEAR(hoursAhead, 5.5, 1.0 / 3600 + 1e-9);
}

}  // namespace
}  // namespace orbelle
