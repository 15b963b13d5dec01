#include "sun/gray_line.hpp"

#include <cmath>

#include "sun/sun_position.hpp"

namespace orbelle {

void setGrayLine(GrayLine& state, double LatHere, double LonHere, DateTime t, int localYear) {
  state.GrayHomeLat = static_cast<float>(LatHere);
  state.GrayHomeLon = static_cast<float>(LonHere);
  state.SunDecl = static_cast<float>(SunDeclination(t, localYear));
  state.SunLon = static_cast<float>(SunLongitude(t));
  if (state.SunLon > 180) state.SunLon = state.SunLon - 360;
  state.GrayMaxLat = state.SunDecl + 90;
  if (state.GrayMaxLat > 90) state.GrayMaxLat = 180 - state.GrayMaxLat;
  state.GrayMinLat = state.SunDecl - 90;
  if (state.GrayMinLat < -90) state.GrayMinLat = -(state.GrayMinLat + 180);
}

void GrayLineRange(const GrayLine& state, float Longitude, float Latitude, float& distance,
                   float& bearing) {
  distance = 0;
  bearing = 0;
  const auto lat1 = static_cast<float>(state.GrayHomeLat / kGrayDegreesPerRadian);
  const auto lon1 = static_cast<float>(state.GrayHomeLon / kGrayDegreesPerRadian);
  const auto lat2 = static_cast<float>(Latitude / kGrayDegreesPerRadian);
  const auto lon2 = static_cast<float>(Longitude / kGrayDegreesPerRadian);
  const float dlon = lon2 - lon1;
  // The trigonometry takes doubles (never the float overloads); results are stored as floats.

  const double sinLat1 = std::sin(double{lat1});
  const double cosLat1 = std::cos(double{lat1});
  const double sinLat2 = std::sin(double{lat2});
  const auto cosC =
      static_cast<float>(sinLat2 * sinLat1 + std::cos(double{dlon}) * cosLat1 * std::cos(double{lat2}));
  // The arc needs √(1 − cos² c) > 0: the station itself and its antipode have no value.
  const double sinCSquared = 1 - static_cast<double>(cosC) * cosC;
  if (!(sinCSquared > 0)) return;
  const auto c = static_cast<float>(kGrayQuarterTurn - std::atan(cosC / std::sqrt(sinCSquared)));

  const double divisor = cosLat1 * std::sin(double{c});
  if (divisor == 0 || !std::isfinite(divisor)) return;
  const auto cosA = static_cast<float>((sinLat2 - sinLat1 * cosC) / divisor);
  if (!std::isfinite(cosA)) return;
  float A;
  if (cosA >= 1) {
    A = 0;
  } else if (cosA <= -1) {
    A = static_cast<float>(180 / kGrayDegreesPerRadian);
  } else {
    A = static_cast<float>(kGrayQuarterTurn -
                           std::atan(cosA / std::sqrt(1 - static_cast<double>(cosA) * cosA)));
  }
  auto b = static_cast<float>(A * kGrayDegreesPerRadian);
  if (std::sin(double{dlon}) < 0) b = 360 - b;
  const auto d =
      static_cast<float>(c * kGrayKmPerDegree * kGrayDegreesPerRadian / kGrayKmPerMile);
  if (!std::isfinite(b) || !std::isfinite(d)) return;
  distance = d;
  bearing = b;
}

}  // namespace orbelle
