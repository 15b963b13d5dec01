#pragma once

// The arc of a projected vertex from the sine and cosine of that arc, for the outline projector:
// atan2(across, up) for across > 0, in radians, in (0, π). Within 2 units in the last place of
// std::atan2 (a test checks 4 ulp on random and edge arguments), several times cheaper: one
// octant reduction, one table of arctangents at steps of 1/64 and a 4-term series on the rest
// (|u| ≤ 1/128, so the first term left out, u⁹/9, is below 2^-66 of u).
//
// across ≤ 0 and non-finite arguments are the caller's to exclude (the projector sends those
// vertices the literal way).

#include <array>
#include <cmath>
#include <cstddef>

namespace orbelle::render {

namespace arc_detail {

inline constexpr int kSteps = 64;  // table points per unit of the reduced tangent

struct Table {
  std::array<double, kSteps + 1> atan{};  // atan(k / kSteps), as std::atan gives it
  Table() {
    for (int k = 0; k <= kSteps; ++k)
      atan[static_cast<std::size_t>(k)] = std::atan(k / double(kSteps));
  }
};

inline const Table& table() {
  static const Table t;
  return t;
}

// π/2 and π to the nearest double (not the map formulas' 14-decimal π: this is arithmetic).
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kFullPi = 3.141592653589793;

// atan(t) for 0 ≤ t ≤ 1.
inline double atanUnit(const Table& tab, double t) noexcept {
  const int k = static_cast<int>(t * kSteps + 0.5);
  const double t0 = k / double(kSteps);  // exact
  const double u = (t - t0) / (1.0 + t * t0);
  const double u2 = u * u;
  return tab.atan[static_cast<std::size_t>(k)] +
         (u + u * u2 * (-1.0 / 3.0 + u2 * (1.0 / 5.0 - u2 * (1.0 / 7.0))));
}

}  // namespace arc_detail

// Needs the table built: call arcTangentTable() once before threads use arcOf.
inline const arc_detail::Table& arcTangentTable() { return arc_detail::table(); }

inline double arcOf(const arc_detail::Table& tab, double across, double up) noexcept {
  using namespace arc_detail;
  if (up >= across) return atanUnit(tab, across / up);
  if (-up >= across) return kFullPi - atanUnit(tab, across / -up);
  const double t = up / across;  // |t| < 1
  return t >= 0.0 ? kHalfPi - atanUnit(tab, t) : kHalfPi + atanUnit(tab, -t);
}

}  // namespace orbelle::render
