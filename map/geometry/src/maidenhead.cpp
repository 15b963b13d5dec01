#include "geometry/maidenhead.hpp"

#include <cmath>

namespace orbelle::geo {
namespace {

// Sizes in degrees of longitude and latitude of the field, the square and the subsquare.
constexpr double kFieldLon = 20.0;
constexpr double kFieldLat = 10.0;
constexpr double kSquareLon = 2.0;
constexpr double kSquareLat = 1.0;
constexpr double kSubLon = 5.0 / 60.0;
constexpr double kSubLat = 2.5 / 60.0;
constexpr int kFields = 18;
constexpr int kSquares = 10;
constexpr int kSubsquares = 24;

// Index of `value` in steps of `step` from 0, held in 0 .. count − 1 (the last step takes the
// upper boundary).
int cell(double value, double step, int count) {
  const int i = static_cast<int>(std::floor(value / step));
  return i < 0 ? 0 : (i >= count ? count - 1 : i);
}

}  // namespace

std::string maidenheadLocator(double lat, double lon) {
  if (!std::isfinite(lat) || !std::isfinite(lon) || std::fabs(lat) > 90.0) return {};
  // Longitude folded into [0, 360) east of 180°W, latitude into [0, 180] north of the south pole.
  double x = std::fmod(lon + 180.0, 360.0);
  if (x < 0.0) x += 360.0;
  const double y = lat + 90.0;
  const int fieldX = cell(x, kFieldLon, kFields);
  const int fieldY = cell(y, kFieldLat, kFields);
  x -= fieldX * kFieldLon;
  double rest = y - fieldY * kFieldLat;
  const int squareX = cell(x, kSquareLon, kSquares);
  const int squareY = cell(rest, kSquareLat, kSquares);
  x -= squareX * kSquareLon;
  rest -= squareY * kSquareLat;
  const int subX = cell(x, kSubLon, kSubsquares);
  const int subY = cell(rest, kSubLat, kSubsquares);
  return {static_cast<char>('A' + fieldX), static_cast<char>('A' + fieldY),
          static_cast<char>('0' + squareX), static_cast<char>('0' + squareY),
          static_cast<char>('a' + subX),    static_cast<char>('a' + subY)};
}

}  // namespace orbelle::geo
