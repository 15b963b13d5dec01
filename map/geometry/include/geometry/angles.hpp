#pragma once

// Angle helpers shared by the whole map program. Angles are in radians unless a name says degrees;
// π is kPi of constants.hpp wherever these formulas name it.

#include "geometry/constants.hpp"

namespace orbelle::geo {

// Full-circle arctangent: the angle measured from the q axis towards the p axis, in radians,
// in (−π, π]. Callers pass p = east offset and q = north offset, so the result is a compass
// bearing. Atan2(0, −1) = π, Atan2(1, 0) = π/2, Atan2(0, 0) = 0. NaN in gives NaN out.
double Atan2(double p, double q);

// Folds an angle in degrees into (0, 360]: 0 and every whole multiple of 360 give 360, −90 gives
// 270, 450 gives 90. NaN and ±infinity give NaN (there is no angle to fold).
double Normalize360(double angle);

// Arc cosine in radians, in [0, π]; x ≥ 1 gives 0 and x ≤ −1 gives π (no domain error).
double ArcCos(double x);

}  // namespace orbelle::geo
