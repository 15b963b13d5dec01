#include "sun/gray_point.hpp"

#include <cmath>

#include "settings/angles.hpp"

namespace orbelle {

void GrayPoint::Calculate(float Angle) {
  const GrayLine& g = *state_;
  const float k = g.GrayMaxLat / 90;
  const float m = g.GrayMinLat / 90;
  int s;
  if (Angle <= 90) {
    latitude_ = Angle * k;
    s = 1;
  } else if (Angle <= 180) {
    latitude_ = g.GrayMaxLat - (Angle - 90) * k;
    s = -1;
  } else if (Angle <= 270) {
    latitude_ = m * (Angle - 180);
    s = -1;
  } else {
    latitude_ = g.GrayMinLat + m * (270 - Angle);
    s = 1;
  }
  // Hour angle of the terminator: cos H = −tan(latitude) × tan(declination).
  const double H = ArcCos(std::tan(g.SunDecl / 180.0 * kPi) * -std::tan(latitude_ / 180.0 * kPi));
  longitude_ = static_cast<float>(s * H / kPi * 180 + g.SunLon);

  float d;
  float b;
  GrayLineRange(g, longitude_, latitude_, d, b);
  const double theta = (90 - double{b}) / 180 * kPi;
  y_ = static_cast<float>(kWholeEarthHalfWidth - std::sin(theta) * d);
  x_ = static_cast<float>(std::cos(theta) * d + kWholeEarthHalfWidth);
}

}  // namespace orbelle
