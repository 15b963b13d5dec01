#include "crash_writers.hpp"

#include <unistd.h>

#include <QString>

#include "raster/color.hpp"
#include "raster/qt/picture_file.hpp"

namespace orbelle::reliability {
namespace {

constexpr int kMapSide = 600;

raster::Surface patternedMap(raster::Rgb background, raster::Rgb pen, double offset) {
  raster::Surface map(kMapSide, kMapSide, background);
  map.setColor(pen);
  map.setPenWidth(3);
  for (int i = 0; i < 40; ++i) {
    map.circle(kMapSide / 2.0, kMapSide / 2.0, offset + 7.0 * i);
  }
  return map;
}

void signalReady() {
  const char ready = 'r';
  if (::write(kReadyFd, &ready, 1) != 1) ::_exit(3);
  ::close(kReadyFd);
}

}  // namespace

model::StoredSettings settingsA() {
  model::StoredSettings v;
  v.LatHere = 33.9;
  v.LonHere = -84.179;
  v.UTCOffset = 5;
  v.MaxDx = 12438;
  v.ShowSun = true;
  v.ShowRivers = false;
  v.MaxSpots = 25;
  v.ShowSpots = true;
  v.ShowSpotBy = true;
  v.ShowConnectingLines = true;
  v.Left = 1200.0f;
  v.Top = 900.0f;
  v.PixelWidth = 600;
  v.AlwaysOnTop = false;
  return v;
}

model::StoredSettings settingsB() {
  model::StoredSettings v;
  v.LatHere = -41.2865;
  v.LonHere = 174.7762;
  v.UTCOffset = -12;
  v.MaxDx = 3000;
  v.ShowSun = false;
  v.ShowRivers = true;
  v.MaxSpots = 100;
  v.ShowSpots = false;
  v.ShowSpotBy = false;
  v.ShowConnectingLines = false;
  v.Left = 15.0f;
  v.Top = 30.0f;
  v.PixelWidth = 1024;
  v.AlwaysOnTop = true;
  return v;
}

raster::Surface mapA() { return patternedMap(raster::rgb(128, 192, 255), raster::kBlack, 2.0); }
raster::Surface mapB() { return patternedMap(raster::rgb(0, 128, 0), raster::kWhite, 5.0); }

int runWriter(std::string_view kind, const std::string& path) {
  if (kind == kIniWriter) {
    const model::StoredSettings a = settingsA(), b = settingsB();
    signalReady();
    for (;;) {
      model::writeSettings(path, b, {});
      model::writeSettings(path, a, {});
    }
  }
  if (kind == kCacheWriter) {
    const raster::Surface a = mapA(), b = mapB();
    const QString file = QString::fromStdString(path);
    signalReady();
    for (;;) {
      raster::writeBmp(b, file);
      raster::writeBmp(a, file);
    }
  }
  return 2;
}

}  // namespace orbelle::reliability
