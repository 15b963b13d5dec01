#include "densify.hpp"

#include <cmath>

namespace mapdata {
namespace {

struct Vec3 {
  double x, y, z;
};

Vec3 toVec(LonLat p) {
  const double lat = p.lat * kRadPerDeg, lon = p.lon * kRadPerDeg;
  return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

LonLat toLonLat(Vec3 v) {
  return {std::atan2(v.y, v.x) / kRadPerDeg, std::atan2(v.z, std::hypot(v.x, v.y)) / kRadPerDeg};
}

// Longitude difference b - a folded into (-180, 180].
double lonStep(double a, double b) {
  double d = b - a;
  while (d > 180.0) d -= 360.0;
  while (d <= -180.0) d += 360.0;
  return d;
}

double foldLon(double lon) {
  while (lon > 180.0) lon -= 360.0;
  while (lon < -180.0) lon += 360.0;
  return lon;
}

}  // namespace

double arcDegrees(LonLat a, LonLat b) {
  const Vec3 u = toVec(a), v = toVec(b);
  const Vec3 c{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
  const double dot = u.x * v.x + u.y * v.y + u.z * v.z;
  return std::atan2(std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z), dot) / kRadPerDeg;
}

Polyline densify(const Polyline& line, double maxStepDeg) {
  if (line.empty()) return {};
  Polyline out;
  out.reserve(line.size());
  out.push_back(line.front());
  for (std::size_t i = 1; i < line.size(); ++i) {
    const LonLat a = line[i - 1], b = line[i];
    if (a.lat == b.lat) {
      const double dLon = lonStep(a.lon, b.lon);
      const double length = std::fabs(dLon) * std::cos(a.lat * kRadPerDeg);
      const int parts = static_cast<int>(std::ceil(length / maxStepDeg));
      for (int k = 1; k < parts; ++k) out.push_back({foldLon(a.lon + dLon * k / parts), a.lat});
    } else {
      const double theta = arcDegrees(a, b);
      const int parts = static_cast<int>(std::ceil(theta / maxStepDeg));
      const double sinTheta = std::sin(theta * kRadPerDeg);
      if (parts > 1 && sinTheta > 1e-12) {
        const Vec3 u = toVec(a), v = toVec(b);
        for (int k = 1; k < parts; ++k) {
          const double t = theta * kRadPerDeg * k / parts;
          const double wa = std::sin(theta * kRadPerDeg - t) / sinTheta;
          const double wb = std::sin(t) / sinTheta;
          out.push_back(toLonLat({wa * u.x + wb * v.x, wa * u.y + wb * v.y, wa * u.z + wb * v.z}));
        }
      }
    }
    out.push_back(b);
  }
  return out;
}

}  // namespace mapdata
