#include "sun/gray_line.hpp"

#include <cmath>

#include "gray_line_core.hpp"
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
  detail::grayLineRangeBlock(detail::grayStation(state.GrayHomeLat, state.GrayHomeLon), &Longitude,
                             &Latitude, 1, &distance, &bearing);
}

namespace detail {
namespace {

float toRadians(float degrees) { return static_cast<float>(degrees / kGrayDegreesPerRadian); }

}  // namespace

GrayStation grayStation(float GrayHomeLat, float GrayHomeLon) {
  GrayStation s;
  s.lat1 = toRadians(GrayHomeLat);
  s.lon1 = toRadians(GrayHomeLon);
  s.sinLat1 = std::sin(double{s.lat1});
  s.cosLat1 = std::cos(double{s.lat1});
  return s;
}

// Each named quantity is stored in single precision; the trigonometry and the expressions
// between stores are evaluated in double (never the float overloads). A point whose computation
// has no value (a division by zero, the root of a negative number, an infinity or NaN) gets
// distance and bearing 0.
void grayLineRangeBlock(const GrayStation& station, const float* Longitude, const float* Latitude,
                        int count, float* distance, float* bearing) {
  float dlon[kGrayBlock];
  double sinLat2[kGrayBlock];
  double cosLat2[kGrayBlock];
  double sinDlon[kGrayBlock];
  double cosDlon[kGrayBlock];
  float cosC[kGrayBlock];
  float c[kGrayBlock];
  float cosA[kGrayBlock];
  bool valid[kGrayBlock];

  for (int i = 0; i < count; ++i) {
    const float lat2 = toRadians(Latitude[i]);
    dlon[i] = toRadians(Longitude[i]) - station.lon1;
    sinLat2[i] = std::sin(double{lat2});
    cosLat2[i] = std::cos(double{lat2});
  }
  for (int i = 0; i < count; ++i) {
    sinDlon[i] = std::sin(double{dlon[i]});
    cosDlon[i] = std::cos(double{dlon[i]});
  }
  for (int i = 0; i < count; ++i) {
    cosC[i] = static_cast<float>(sinLat2[i] * station.sinLat1 +
                                 cosDlon[i] * station.cosLat1 * cosLat2[i]);
    // The arc needs √(1 − cos² c) > 0: the station itself and its antipode have no value.
    const double sinCSquared = 1 - static_cast<double>(cosC[i]) * cosC[i];
    valid[i] = sinCSquared > 0;
    const double t = valid[i] ? cosC[i] / std::sqrt(sinCSquared) : 0.0;
    c[i] = static_cast<float>(kGrayQuarterTurn - std::atan(t));
  }
  for (int i = 0; i < count; ++i) {
    const double divisor = station.cosLat1 * std::sin(double{c[i]});
    if (divisor == 0 || !std::isfinite(divisor)) valid[i] = false;
    cosA[i] =
        valid[i] ? static_cast<float>((sinLat2[i] - station.sinLat1 * cosC[i]) / divisor) : 0.0f;
    if (!std::isfinite(cosA[i])) valid[i] = false;
  }
  for (int i = 0; i < count; ++i) {
    float A;
    if (!valid[i] || cosA[i] >= 1) {
      A = 0;
    } else if (cosA[i] <= -1) {
      A = static_cast<float>(180 / kGrayDegreesPerRadian);
    } else {
      const double v = cosA[i];
      A = static_cast<float>(kGrayQuarterTurn - std::atan(v / std::sqrt(1 - v * v)));
    }
    auto b = static_cast<float>(A * kGrayDegreesPerRadian);
    if (sinDlon[i] < 0) b = 360 - b;
    const auto d =
        static_cast<float>(c[i] * kGrayKmPerDegree * kGrayDegreesPerRadian / kGrayKmPerMile);
    if (!valid[i] || !std::isfinite(b) || !std::isfinite(d)) {
      distance[i] = 0;
      bearing[i] = 0;
    } else {
      distance[i] = d;
      bearing[i] = b;
    }
  }
}

}  // namespace detail
}  // namespace orbelle
