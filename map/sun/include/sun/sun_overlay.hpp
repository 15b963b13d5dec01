#pragma once

// The overlay refresh: puts the cached map back, draws the sun at the sub-solar point and the
// gray line as a closed line, then the path line if one is shown. Everything is drawn on the map
// surface in map miles (station at the origin, x east, y north), after SetMapScale.

#include <cstdint>
#include <optional>
#include <vector>

#include "plane/map_plane.hpp"
#include "raster/color.hpp"
#include "raster/surface.hpp"
#include "ini/date_time.hpp"
#include "sun/gray_line.hpp"
#include "sun/gray_point.hpp"
#include "sun/local_clock.hpp"
#include "sun/night_shade.hpp"

namespace orbelle {

inline constexpr raster::Rgb kSunColor = raster::rgb(255, 255, 0);
inline constexpr std::int16_t kSunDotWidth = 8;  // pixels: one round dot
// The gray line: a light line on a dark band, so that it stands out on land, water, ice and
// the shaded night side alike.
inline constexpr raster::Rgb kGrayLineColor = raster::rgb(255, 236, 140);
inline constexpr int kGrayLineWidth = 1;
inline constexpr raster::Rgb kGrayLineHaloColor = raster::rgb(24, 24, 24);
inline constexpr int kGrayLineHaloWidth = 3;
// Gray-line points closer than this (pixels) to the last one drawn to are passed over.
inline constexpr double kMinStrokePixels = 1.0;
// The station and pole dots of the map get an outline this many pixels wider than the dot, in
// the colour that contrasts most with theirs.
inline constexpr int kDotOutlineExtraPixels = 2;

// Whole-earth square width (2R) and the quarter circumference R / 2, in miles.
inline constexpr double kWholeEarthWidth = 24875.130631123957;
inline constexpr double kQuarterCircumference = 6218.782657780989;
// Sampling of the gray line: full steps of 1° of Angle while the station is at least
// kStepBandMiles from the terminator, finer steps inside that band, never below the step of
// kStepFloorMiles, and kFinestStep inside that floor.
inline constexpr double kStepBandMiles = 250.0;
inline constexpr double kStepFloorMiles = 2.0;
inline constexpr double kCoarseStep = 1.0;
inline constexpr double kFinestStep = 0.01;
// Angle of the first gray-line point (and of the point the line closes on).
inline constexpr float kFirstAngle = 0.1f;

// A gray-line segment is left undrawn (the pen moves) when it is stretched across the station's
// antipode: when its projected length exceeds its true length by the outlines' excess
// (render::isStretchedSegment) and is also more than kStretchRatio times its true length. The
// ratio keeps long segments of the coarse step (up to about 490 miles where the terminator turns)
// that the map's own scale stretches a few times; the map scale stays below 20 everywhere
// farther than about 600 miles from the antipode.
inline constexpr double kStretchRatio = 20.0;

// The rule above for a segment between two gray-line points: a and b on the map (miles), and
// their latitudes and longitudes in degrees.
bool isStretchedGraySegment(geo::MapPoint a, geo::MapPoint b, double lat1, double lon1, double lat2,
                            double lon2);

// The step of Angle in degrees for a station dsun miles from the sub-solar point: with
// g = |dsun − kQuarterCircumference|, 1.0 when g ≥ 250, 1 / (250 / g) when 2 ≤ g < 250 (0.008 at
// the least), 0.01 when g < 2 or g is NaN.
double grayLineStep(double dsun);

// What the refresh found when it asked for the cached map.
enum class CacheReload {
  NotCached,  // no cached map: drawing goes on over what is shown
  Reloaded,   // the cached map is back on the display; the previous overlay is gone
  Failed,     // the cached map could not be loaded; the window no longer counts it as cached
};

// What the refresh needs from the map window. The window implements it; tests use a fake.
class OverlayWindow {
 public:
  virtual ~OverlayWindow() = default;
  // A drawing pass or the save dialog is running.
  virtual bool Drawing() const = 0;
  // The night side of the map is to be darkened (after a reload of the cached map only, so that
  // shading never falls on shading).
  virtual bool ShadeNight() const { return false; }
  // PaintDeferred = false.
  virtual void clearPaintDeferred() = 0;
  virtual bool ShowSun() const = 0;
  // Seconds added to the local clock to get UTC (UTCOffset × 3600).
  virtual double UTCOffsetSeconds() const = 0;
  // When MapCached: load the cache picture into Image1, which wipes the overlay. A load that
  // fails must clear MapCached and return Failed rather than throw.
  virtual CacheReload reloadMapCache() = 0;
  // Lets pending window events run once. The window must not destroy this SunOverlay, the map
  // plane or the surface from inside (defer such work until the refresh has returned).
  virtual void letEventsRun() = 0;
};

// Figures of the last refresh that drew a gray line.
struct GrayLineFigures {
  double step = 0.0;        // Angle step in degrees
  int points = 0;           // terminator points computed
  int segmentsDrawn = 0;    // segments drawn, the closing one included
  int segmentsSkipped = 0;  // segments stretched across the antipode, not drawn (pen moved)
};

class SunOverlay {
 public:
  explicit SunOverlay(LocalClock clock);
  SunOverlay(const SunOverlay&) = delete;
  SunOverlay& operator=(const SunOverlay&) = delete;

  // The refresh:
  //  1. nothing at all while Drawing;  2. PaintDeferred = false;  3. without ShowSun, only the
  //  path line (step 14);  4. the cached map back, then one round of pending events;  5. the UTC
  //  instant: the local clock plus UTCOffsetSeconds (rounded to whole seconds); then the night
  //  side darkened (when the cached map came back and ShadeNight holds), and the station and
  //  pole dots drawn again with their outlines;  6. the sun dot;  7. the GrayLine state;
  //  8–13. the gray line from Angle 0.1 in single-precision steps of grayLineStep(sun
  //  distance), closed back on its first point, drawn as a dark band under a light line; a
  //  segment stretched across the station's antipode is not drawn (the pen moves to its end);
  //  14. the path line
  //  redrawn in XOR with the station marker when PathShown. The surface's drawing mode is not
  //  set by steps 5–13; it is copy mode after step 14 when a path is shown.
  void SunTimer_Timer(OverlayWindow& window, geo::MapPlane& plane, raster::Surface& surface);

  const GrayLine& grayLine() const { return grayLine_; }
  GrayPoint& GrayLinePoint() { return grayLinePoint_; }
  const GrayLineFigures& lastGrayLine() const { return figures_; }
  // Pixels darkened by the last refresh's night shading.
  int lastShadedPixels() const { return shadedPixels_; }

 private:
  void drawGrayLine(raster::Surface& surface, double step);
  void drawMapDots(const geo::MapPlane& plane, raster::Surface& surface) const;

  LocalClock clock_;
  GrayLine grayLine_;
  GrayPoint grayLinePoint_{grayLine_};
  GrayPoint::Block block_{};
  GrayLineFigures figures_;
  struct Stop {
    geo::MapPoint at;
    bool drawn;  // the segment ending here is drawn (else the pen moves)
  };
  std::vector<Stop> stops_;
  std::vector<Stop> kept_;  // the stops the strokes go through
  NightShade nightShade_;
  int shadedPixels_ = 0;
};

// The overlay for a headless picture: the night side darkened (when shadeNight and showSun), the
// sun and gray line for the UTC instant `utc` (when showSun), then, when pathTo holds a position (latitude, longitude in degrees), the path line
// to it as DrawPath draws it. The surface must already hold the map in map coordinates; the
// plane's path fields are set as DrawPath sets them.
struct PathTarget {
  double LatDeg = 0.0;
  double LonDeg = 0.0;
};
void drawSunOverlay(raster::Surface& surface, geo::MapPlane& plane, DateTime utc, bool showSun,
                    std::optional<PathTarget> pathTo = std::nullopt, bool shadeNight = false);

}  // namespace orbelle
