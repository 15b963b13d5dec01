#include "model/options_rules.hpp"

#include <cmath>
#include <limits>

#include "geometry/rounding.hpp"

namespace orbelle::model {
namespace {

std::int16_t toInt16Held(double value) {
  constexpr double lo = std::numeric_limits<std::int16_t>::min();
  constexpr double hi = std::numeric_limits<std::int16_t>::max();
  if (std::isnan(value)) return 0;
  if (value <= lo) return std::numeric_limits<std::int16_t>::min();
  if (value >= hi) return std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(value);
}

}  // namespace

double boundLatitude(double latitude) {
  if (latitude >= kLatitudeLimit) return kLatitudeBounded;
  if (latitude <= -kLatitudeLimit) return -kLatitudeBounded;
  return latitude;
}

double boundLongitude(double longitude) {
  if (longitude > kLongitudeLimit) return kLongitudeLimit;
  if (longitude < -kLongitudeLimit) return -kLongitudeLimit;
  return longitude;
}

MilesEntry milesEntry(double fieldValue) {
  MilesEntry entry;
  double value = fieldValue;
  if (value > kMaxDxLimitMiles) {
    entry.replacementText = kMilesFieldMaxText;
    value = kMilesFieldMax;
  }
  if (value < kMilesFieldMin) {
    entry.replacementText = kMilesFieldMinText;
    value = kMilesFieldMin;
  }
  entry.MaxDx = wholeMiles(value);
  entry.km = kmOfMiles(entry.MaxDx);
  return entry;
}

std::int32_t kmOfMiles(double miles) {
  return static_cast<std::int32_t>(std::floor(miles * kKmPerMile));
}

std::int16_t milesOfKm(double km) { return toInt16Held(std::floor(km / kKmPerMile)); }

std::int16_t wholeMiles(double miles) { return toInt16Held(geo::roundHalfEven(miles)); }

}  // namespace orbelle::model
