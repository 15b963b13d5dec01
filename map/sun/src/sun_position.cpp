#include "sun/sun_position.hpp"

#include <cmath>

#include "geometry/angles.hpp"

namespace orbelle {

double DayOfYear(DateTime t, int localYear) {
  return t.serial - DateSerial(localYear, 1, 1).serial;
}

double DecimalHours(DateTime t) {
  const CivilDateTime c = toCivil(t);
  return c.hour + c.minute / 60.0 + c.second / 3600.0;
}

double SunLongitude(DateTime t) { return 180 - DecimalHours(t) / 24 * 360; }

double SunDeclination(DateTime t, int localYear) {
  return kSunDeclinationAmplitude *
         std::sin((DayOfYear(t, localYear) - kSunDeclinationZeroDay) * geo::kPi / kSunHalfPeriodDays);
}

}  // namespace orbelle
