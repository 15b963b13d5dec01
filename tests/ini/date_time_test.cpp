#include "ini/date_time.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace orbelle {
namespace {

// Day 0 is 1899-12-30; months and days out of range carry into the next field. Fields are those
// of the nearest whole second, also after an offset; NaN and huge serials still give fields.
TEST(DateTime, SerialsCarriesAndCivilFieldsToTheNearestSecond) {
  const DateTime t = makeDateTime(2024, 2, 29, 23, 59, 58);
  const std::pair<DateTime, CivilDateTime> cases[] = {
      {t, {2024, 2, 29, 23, 59, 58}},
      {DateTime{t.serial + 0.6 / 86400}, {2024, 2, 29, 23, 59, 59}},
      {DateTime{t.serial + 1.6 / 86400}, {2024, 3, 1, 0, 0, 0}},
      {makeDateTime(1850, 6, 1, 6, 30, 0), {1850, 6, 1, 6, 30, 0}},
      {addSeconds(t, -0.5), {2024, 2, 29, 23, 59, 58}},
      {addSeconds(t, 1.5), {2024, 3, 1, 0, 0, 0}},
      {addSeconds(t, -18000), {2024, 2, 29, 18, 59, 58}},
      {DateTime{std::nan("")}, {1899, 12, 30, 0, 0, 0}},
      {DateTime{36712}, {2000, 7, 5, 0, 0, 0}},
      {DateSerial(2000, 25, 99), {2002, 4, 9, 0, 0, 0}},
      {DateSerial(2001, 3, 0), {2001, 2, 28, 0, 0, 0}},
      {DateSerial(2000, -1, 1), {1999, 11, 1, 0, 0, 0}}};
  for (const auto& [time, fields] : cases) EXPECT_EQ(toCivil(time), fields) << time.serial;
  EXPECT_GT(toCivil(DateTime{1e300}).year, 9000);
}

}  // namespace
}  // namespace orbelle
