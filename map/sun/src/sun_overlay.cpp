#include "sun/sun_overlay.hpp"

#include <cmath>
#include <utility>

#include "plane/map_drawing.hpp"
#include "render/pass_style.hpp"
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
  shadedPixels_ = 0;
  if (window.ShowSun()) {
    const bool reloaded = window.reloadMapCache() == CacheReload::Reloaded;
    if (reloaded) window.letEventsRun();
    const DateTime localNow = clock_ ? clock_() : systemLocalNow();
    const DateTime t = addSeconds(localNow, window.UTCOffsetSeconds());
    const int localYear = toCivil(localNow).year;
    const double declination = SunDeclination(t, localYear);
    const double longitude = SunLongitude(t);
    if (reloaded && window.ShadeNight()) {
      nightShade_.prepare(plane, surface);
      shadedPixels_ = nightShade_.shade(surface, geo::directionOf(declination, longitude));
    }
    // The outlined station and pole dots go beneath the sun and the gray line.
    drawMapDots(plane, surface);
    const double dsun =
        geo::DrawPoint(plane, surface, declination, longitude, kSunColor, kSunDotWidth);
    setGrayLine(grayLine_, plane.LatHere, plane.LonHere, t, localYear);
    drawGrayLine(surface, grayLineStep(dsun));
  }
  geo::redrawPath(plane, surface);
}

void SunOverlay::drawMapDots(const geo::MapPlane& plane, raster::Surface& surface) const {
  const raster::Rgb outline = raster::contrastingOutline(render::kMarkerColor);
  const auto outlined = [&](double lat, double lon) {
    geo::DrawPoint(plane, surface, lat, lon, outline,
                   static_cast<std::int16_t>(render::kMarkerWidth + kDotOutlineExtraPixels));
    geo::DrawPoint(plane, surface, lat, lon, render::kMarkerColor, render::kMarkerWidth);
  };
  outlined(plane.LatHere, plane.LonHere);
  outlined(render::kPoleDotLatitude, render::kPoleDotLongitude);
  outlined(-render::kPoleDotLatitude, render::kPoleDotLongitude);
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
  // The line is drawn twice (the dark band, then the light line on it): its points are kept,
  // each with whether the segment that ends there is drawn.
  stops_.clear();
  auto segmentTo = [&](const Vertex& from, const Vertex& to) {
    const bool stretched =
        isStretchedGraySegment(from.at, to.at, from.lat, from.lon, to.lat, to.lon);
    stops_.push_back({to.at, !stretched});
    ++(stretched ? figures_.segmentsSkipped : figures_.segmentsDrawn);
  };

  // Points are computed a block at a time (GrayPoint's block form gives the same points as one
  // Calculate per Angle) and kept in order: the first, then a segment to each next one.
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
        stops_.push_back({first.at, false});
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

  // Near the terminator the step is fine enough to give tens of thousands of segments far
  // shorter than a pixel; points closer than kMinStrokePixels to the last one kept are passed
  // over (the last before a pen move, and the very last, are always kept), so that each wide
  // stroke costs about one segment per pixel of line.
  const double minStep = kMinStrokePixels * std::fabs(surface.unitWidth());
  kept_.clear();
  kept_.push_back(stops_.front());
  std::size_t held = 0;  // a drawn stop passed over and not yet kept; 0: none
  for (std::size_t i = 1; i < stops_.size(); ++i) {
    const Stop& stop = stops_[i];
    if (!stop.drawn) {
      if (held) kept_.push_back(stops_[held]);
      held = 0;
      kept_.push_back(stop);
      continue;
    }
    const geo::MapPoint last = kept_.back().at;
    if (std::hypot(stop.at.x - last.x, stop.at.y - last.y) >= minStep) {
      kept_.push_back(stop);
      held = 0;
    } else {
      held = i;
    }
  }
  if (held) kept_.push_back(stops_[held]);

  for (const auto& [width, colour] : {std::pair{kGrayLineHaloWidth, kGrayLineHaloColor},
                                      std::pair{kGrayLineWidth, kGrayLineColor}}) {
    surface.setPenWidth(width);
    surface.dot(kept_.front().at.x, kept_.front().at.y, colour);
    for (std::size_t i = 1; i < kept_.size(); ++i) {
      const geo::MapPoint to = kept_[i].at;
      if (kept_[i].drawn) {
        surface.line(surface.currentX(), surface.currentY(), to.x, to.y, colour);
      } else {
        surface.moveTo(to.x, to.y);
      }
    }
  }
}

namespace {

// A window that is never drawing, has no cached map and shows the sun as asked.
class HeadlessWindow final : public OverlayWindow {
 public:
  HeadlessWindow(bool showSun, bool shadeNight) : showSun_(showSun), shadeNight_(shadeNight) {}
  bool Drawing() const override { return false; }
  bool ShadeNight() const override { return shadeNight_; }
  void clearPaintDeferred() override {}
  bool ShowSun() const override { return showSun_; }
  double UTCOffsetSeconds() const override { return 0.0; }
  // The surface holds the freshly drawn map: as good as reloaded, so it may be shaded.
  CacheReload reloadMapCache() override { return CacheReload::Reloaded; }
  void letEventsRun() override {}

 private:
  bool showSun_;
  bool shadeNight_;
};

}  // namespace

void drawSunOverlay(raster::Surface& surface, geo::MapPlane& plane, DateTime utc, bool showSun,
                    std::optional<PathTarget> pathTo, bool shadeNight) {
  HeadlessWindow window(showSun, shadeNight);
  SunOverlay overlay(fixedClock(utc));
  plane.PathShown = false;
  overlay.SunTimer_Timer(window, plane, surface);
  if (pathTo) geo::DrawPath(plane, surface, pathTo->LatDeg, pathTo->LonDeg, false);
}

}  // namespace orbelle
