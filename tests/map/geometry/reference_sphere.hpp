#pragma once

// Haversine arc and atan2 bearing in long double, sharing no code with the routines tested.

#include <algorithm>
#include <cmath>
#include <random>

namespace orbelle::geo::testing {

inline constexpr long double kRefRad = 3.141592653589793238462643383279502884L / 180.0L;

struct Reference {
  long double arcDegrees;  // [0, 180]
  long double bearing;     // [0, 360)
};

inline Reference referenceArcBearing(double lat1, double lon1, double lat2, double lon2) {
  const long double p1 = lat1 * kRefRad, p2 = lat2 * kRefRad, dl = (lon2 - lon1) * kRefRad;
  const long double a = std::pow(std::sin((p2 - p1) / 2), 2) +
                        std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
  const long double arc = 2 * std::atan2(std::sqrt(a), std::sqrt(std::max(0.0L, 1 - a)));
  const long double bearing =
      std::atan2(std::sin(dl) * std::cos(p2),
                 std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
      kRefRad;
  return {arc / kRefRad, bearing < 0 ? bearing + 360 : bearing};
}

struct Position {
  double lat, lon;
};

// Uniform over the sphere's area.
inline Position randomPosition(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0), lon(-180.0, 180.0);
  return {static_cast<double>(std::asin(static_cast<long double>(unit(rng))) / kRefRad), lon(rng)};
}

}  // namespace orbelle::geo::testing
