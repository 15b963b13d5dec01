#include "sun/sun_overlay.hpp"

#include <cmath>
#include <utility>

#include "plane/map_drawing.hpp"
#include "render/stretched_segment.hpp"
#include "sun/sun_position.hpp"

namespace orbelle {

double grayLineStep(double dsun) {
  const double g = std::fabs(dsun - kQuarterCircumference);
  if (g >= kStepBandMiles) return kCoarseStep;
  if (g >= kStepFloorMiles) return 1 / (kStepBandMiles / g);
  return kFinestStep;
}

bool isStretchedGraySegment(geo::MapPoint a, geo::MapPoint b, double lat1, double lon1, double lat2,
                            double lon2) {
  // Most segments are short: a cheap test leaves them before the shared rule's own.
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  constexpr double kSurelyShort = 0.99 * render::kMaxStretchExcessMiles;
  if (dx * dx + dy * dy < kSurelyShort * kSurelyShort) return false;
  if (!render::mayBeStretched(a, b)) return false;
  const double trueMiles = render::trueSegmentMiles(lat1, lon1, lat2, lon2);
  return render::isStretchedSegment(a, b, trueMiles) &&
         std::hypot(dx, dy) > kStretchRatio * trueMiles;
}

SunOverlay::SunOverlay(LocalClock clock) : clock_(std::move(clock)) {}

void SunOverlay::SunTimer_Timer(OverlayWindow& window, geo::MapPlane& plane,
                                raster::Surface& surface) {
  if (window.Drawing()) return;
  window.clearPaintDeferred();
  if (window.ShowSun()) {
    if (window.reloadMapCache() == CacheReload::Reloaded) window.letEventsRun();
    const DateTime localNow = clock_ ? clock_() : systemLocalNow();
    const DateTime t = addSeconds(localNow, window.UTCOffsetSeconds());
    const int localYear = toCivil(localNow).year;
    const double dsun = geo::DrawPoint(plane, surface, SunDeclination(t, localYear),
                                       SunLongitude(t), kSunColor, kSunDotWidth);
    setGrayLine(grayLine_, plane.LatHere, plane.LonHere, t, localYear);
    surface.setPenWidth(kGrayLineWidth);
    drawGrayLine(surface, grayLineStep(dsun));
  }
  geo::redrawPath(plane, surface);
}

void SunOverlay::drawGrayLine(raster::Surface& surface, double step) {
  constexpr double R = kWholeEarthHalfWidth;
  figures_ = GrayLineFigures{};
  figures_.step = step;

  struct Vertex {
    geo::MapPoint at;  // surface position, miles east and north of the station
    double lat;
    double lon;
  };
  auto segmentTo = [&](const Vertex& from, const Vertex& to) {
    if (isStretchedGraySegment(from.at, to.at, from.lat, from.lon, to.lat, to.lon)) {
      surface.moveTo(to.at.x, to.at.y);
      ++figures_.segmentsSkipped;
    } else {
      surface.line(surface.currentX(), surface.currentY(), to.at.x, to.at.y, kGrayLineColor);
      ++figures_.segmentsDrawn;
    }
  };

  // Points are computed a block at a time (GrayPoint's block form gives the same points as one
  // Calculate per Angle) and drawn in order: a dot at the first, a segment to each next one.
  Vertex first{};
  Vertex previous{};
  float angles[GrayPoint::kBlock];
  int pending = 0;
  auto flush = [&] {
    grayLinePoint_.Calculate(angles, pending, block_);
    for (int i = 0; i < pending; ++i) {
      const Vertex next{{double{block_.x[i]} - R, kWholeEarthWidth - double{block_.y[i]} - R},
                        double{block_.Latitude[i]},
                        double{block_.Longitude[i]}};
      if (figures_.points++ == 0) {
        first = next;
        surface.dot(first.at.x, first.at.y, kGrayLineColor);
      } else {
        segmentTo(previous, next);
      }
      previous = next;
    }
    pending = 0;
  };
  auto add = [&](float Angle) {
    angles[pending++] = Angle;
    if (pending == GrayPoint::kBlock) flush();
  };

  float Angle = kFirstAngle;
  add(Angle);
  Angle = static_cast<float>(Angle + step);
  do {
    add(Angle);
    Angle = static_cast<float>(Angle + step);
  } while (Angle < 360);
  flush();
  segmentTo(previous, first);
}

namespace {

// A window that is never drawing, has no cached map and shows the sun as asked.
class HeadlessWindow final : public OverlayWindow {
 public:
  explicit HeadlessWindow(bool showSun) : showSun_(showSun) {}
  bool Drawing() const override { return false; }
  void clearPaintDeferred() override {}
  bool ShowSun() const override { return showSun_; }
  double UTCOffsetSeconds() const override { return 0.0; }
  CacheReload reloadMapCache() override { return CacheReload::NotCached; }
  void letEventsRun() override {}

 private:
  bool showSun_;
};

}  // namespace

void drawSunOverlay(raster::Surface& surface, geo::MapPlane& plane, DateTime utc, bool showSun,
                    std::optional<PathTarget> pathTo) {
  HeadlessWindow window(showSun);
  SunOverlay overlay(fixedClock(utc));
  plane.PathShown = false;
  overlay.SunTimer_Timer(window, plane, surface);
  if (pathTo) geo::DrawPath(plane, surface, pathTo->LatDeg, pathTo->LonDeg, false);
}

}  // namespace orbelle
