#include "reference_sphere.hpp"

#include <cmath>

namespace orbelle::geo::testing {

namespace {

constexpr long double kExactPi = 3.141592653589793238462643383279502884L;
constexpr long double kRad = kExactPi / 180.0L;
constexpr long double kMilesPerDegreeRef = 60.0L * 1.1512L;

}  // namespace

Reference referenceArcBearing(double lat1, double lon1, double lat2, double lon2) {
  const long double p1 = lat1 * kRad, p2 = lat2 * kRad, dl = (lon2 - lon1) * kRad;
  const long double a = std::pow(std::sin((p2 - p1) / 2), 2) +
                        std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
  const long double arc = 2 * std::atan2(std::sqrt(a), std::sqrt(std::max(0.0L, 1 - a)));
  long double bearing =
      std::atan2(std::sin(dl) * std::cos(p2),
                 std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
      kRad;
  if (bearing < 0) bearing += 360;
  return {arc / kRad, bearing};
}

double bearingDifference(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

Position randomPosition(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_real_distribution<double> lon(-180.0, 180.0);
  return {static_cast<double>(std::asin(static_cast<long double>(unit(rng))) / kRad), lon(rng)};
}

Position offsetPosition(Position p, double miles, double bearing) {
  const long double delta = miles / kMilesPerDegreeRef * kRad;
  const long double theta = bearing * kRad;
  const long double p1 = p.lat * kRad, l1 = p.lon * kRad;
  const long double p2 =
      std::asin(std::sin(p1) * std::cos(delta) + std::cos(p1) * std::sin(delta) * std::cos(theta));
  long double l2 = l1 + std::atan2(std::sin(theta) * std::sin(delta) * std::cos(p1),
                                   std::cos(delta) - std::sin(p1) * std::sin(p2));
  long double lonDeg = std::remainder(l2 / kRad, 360.0L);
  return {static_cast<double>(p2 / kRad), static_cast<double>(lonDeg)};
}

}  // namespace orbelle::geo::testing
