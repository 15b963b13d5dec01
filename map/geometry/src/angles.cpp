#include "geometry/angles.hpp"

#include <cmath>

namespace orbelle::geo {

double Atan2(double p, double q) {
  if (q > 0) return std::atan(p / q);
  if (q == 0) {
    if (p > 0) return kPi / 2;
    if (p < 0) return -kPi / 2;
    return p == 0 ? 0.0 : p;  // p is NaN here when not 0
  }
  if (q < 0) {
    if (p == 0) return kPi;
    const double sign = p > 0 ? 1.0 : p < 0 ? -1.0 : p;
    return sign * (kPi - std::atan(std::fabs(p / q)));
  }
  return q;  // q is NaN
}

double Normalize360(double angle) {
  if (!std::isfinite(angle)) return std::nan("");
  // fmod is exact, so folding first gives the same result as stepping by 360 from the input
  // wherever stepping terminates, and keeps huge inputs from looping for ever.
  double a = std::fmod(angle, 360.0);
  while (a < 360) a += 360;
  while (a > 360) a -= 360;
  return a;
}

double ArcCos(double x) {
  if (x >= 1) return 0.0;
  if (x <= -1) return kPi;
  return std::atan(-x / std::sqrt(1 - x * x)) + kPi / 2;
}

}  // namespace orbelle::geo
