#include "core/rotor_watch.hpp"

#include <cmath>
#include <limits>

namespace orbelle::station {

double mapHeading(double azimuth) {
  double tenths = std::fmod(std::round(azimuth * 10.0), 3600.0);
  if (tenths < 0.0) tenths += 3600.0;
  return tenths / 10.0 + 0.0;  // + 0.0 turns −0 into 0
}

void RotorWatch::commanded() {
  turning_ = true;
  stillReadings_ = 0;
}

std::optional<double> RotorWatch::reading(double azimuth) {
  if (!std::isfinite(azimuth)) return std::nullopt;
  const double heading = mapHeading(azimuth);
  stillReadings_ = last_ && *last_ == heading ? stillReadings_ + 1 : 0;
  if (stillReadings_ >= kStillReadings) turning_ = false;
  last_ = heading;
  if (shown_ && *shown_ == heading) return std::nullopt;
  shown_ = heading;
  return heading;
}

std::optional<double> RotorWatch::lost() {
  last_.reset();
  stillReadings_ = 0;
  // Nothing shown yet, or hidden already: nothing to hide.
  const bool hide = shown_ && !std::isnan(*shown_);
  shown_ = std::numeric_limits<double>::quiet_NaN();
  return hide ? shown_ : std::nullopt;
}

}  // namespace orbelle::station
