#include "ini/date_time.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace orbelle {
namespace {

// Day 0 is 1899-12-30; months and days out of range carry into the next field.
TEST(DateTime, SerialsOfKnownDatesAndCarries) {
  EXPECT_EQ(DateSerial(1899, 12, 30).serial, 0);
  EXPECT_EQ(DateSerial(2000, 7, 5).serial, 36712);
  const std::pair<DateTime, DateTime> carries[] = {
      {DateSerial(2000, 13, 1), DateSerial(2001, 1, 1)},
      {DateSerial(2000, 0, 1), DateSerial(1999, 12, 1)},
      {DateSerial(2000, 3, 0), DateSerial(2000, 2, 29)},
      {DateSerial(2001, 3, 0), DateSerial(2001, 2, 28)},
      {DateSerial(2000, 25, 99), DateSerial(2002, 4, 9)},
      {DateSerial(2000, -1, 1), DateSerial(1999, 11, 1)}};
  for (const auto& [carried, date] : carries) EXPECT_EQ(carried, date) << date.serial;
}

TEST(DateTime, CivilFieldsRoundTripAndRoundToSeconds) {
  const DateTime t = makeDateTime(2024, 2, 29, 23, 59, 58);
  EXPECT_EQ(toCivil(t), (CivilDateTime{2024, 2, 29, 23, 59, 58}));
  // Fields are those of the nearest whole second.
  EXPECT_EQ(toCivil(DateTime{t.serial + 0.6 / 86400}).second, 59);
  EXPECT_EQ(toCivil(DateTime{t.serial + 1.6 / 86400}), (CivilDateTime{2024, 3, 1, 0, 0, 0}));
  EXPECT_EQ(toCivil(makeDateTime(1850, 6, 1, 6, 30, 0)), (CivilDateTime{1850, 6, 1, 6, 30, 0}));
}

TEST(DateTime, AddSecondsRoundsTheOffset) {
  const DateTime t = makeDateTime(2023, 12, 31, 23, 0, 0);
  EXPECT_EQ(toCivil(addSeconds(t, 3600)), (CivilDateTime{2024, 1, 1, 0, 0, 0}));
  EXPECT_EQ(toCivil(addSeconds(t, -0.5)), (CivilDateTime{2023, 12, 31, 23, 0, 0}));
  EXPECT_EQ(toCivil(addSeconds(t, 1.5)), (CivilDateTime{2023, 12, 31, 23, 0, 2}));
  EXPECT_EQ(toCivil(addSeconds(t, -18000)), (CivilDateTime{2023, 12, 31, 18, 0, 0}));
}

TEST(DateTime, NonFiniteSerialsDoNotBreakTheFields) {
  EXPECT_EQ(toCivil(DateTime{std::nan("")}), (CivilDateTime{1899, 12, 30, 0, 0, 0}));
  const CivilDateTime far = toCivil(DateTime{1e300});
  EXPECT_GT(far.year, 9000);
}

}  // namespace
}  // namespace orbelle
