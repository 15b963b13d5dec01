#include "sun/gray_point.hpp"

#include <algorithm>
#include <cmath>

#include "gray_line_core.hpp"
#include "geometry/angles.hpp"

namespace orbelle {

static_assert(GrayPoint::kBlock == detail::kGrayBlock);

void GrayPoint::Calculate(float Angle) {
  Block out;
  Calculate(&Angle, 1, out);
}

void GrayPoint::Calculate(const float* angles, int count, Block& out) {
  count = std::clamp(count, 0, kBlock);
  if (count == 0) return;
  const GrayLine& g = *state_;
  const float k = g.GrayMaxLat / 90;
  const float m = g.GrayMinLat / 90;
  const double tanSunDecl = std::tan(g.SunDecl / 180.0 * geo::kPi);
  int side[kBlock];
  double H[kBlock];

  for (int i = 0; i < count; ++i) {
    const float Angle = angles[i];
    float latitude;
    if (Angle <= 90) {
      latitude = Angle * k;
      side[i] = 1;
    } else if (Angle <= 180) {
      latitude = g.GrayMaxLat - (Angle - 90) * k;
      side[i] = -1;
    } else if (Angle <= 270) {
      latitude = m * (Angle - 180);
      side[i] = -1;
    } else {
      latitude = g.GrayMinLat + m * (270 - Angle);
      side[i] = 1;
    }
    out.Latitude[i] = latitude;
  }
  // Hour angle of the terminator, double precision: cos H = −tan(latitude) × tan(declination).
  for (int i = 0; i < count; ++i) {
    H[i] = geo::ArcCos(tanSunDecl * -std::tan(out.Latitude[i] / 180.0 * geo::kPi));
  }
  for (int i = 0; i < count; ++i) {
    out.Longitude[i] = static_cast<float>(side[i] * H[i] / geo::kPi * 180 + g.SunLon);
  }

  float d[kBlock];
  float b[kBlock];
  detail::grayLineRangeBlock(detail::grayStation(g.GrayHomeLat, g.GrayHomeLon), out.Longitude,
                             out.Latitude, count, d, b);
  for (int i = 0; i < count; ++i) {
    const double theta = (90 - double{b[i]}) / 180 * geo::kPi;
    out.y[i] = static_cast<float>(kWholeEarthHalfWidth - std::sin(theta) * d[i]);
    out.x[i] = static_cast<float>(std::cos(theta) * d[i] + kWholeEarthHalfWidth);
  }
  const int last = count - 1;
  longitude_ = out.Longitude[last];
  latitude_ = out.Latitude[last];
  x_ = out.x[last];
  y_ = out.y[last];
}

}  // namespace orbelle
