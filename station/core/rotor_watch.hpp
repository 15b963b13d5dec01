#pragma once

#include <optional>

// The antenna's heading for the map, from the rotator's own readings of its azimuth: read often
// while the rotator turns, until it has stood still for a few readings, then now and then, since
// it may be turned from its control box. A heading goes to the map only when it changes.

namespace orbelle::station {

// The heading shown for an azimuth the rotator reports (which may be negative, or beyond 360 on
// rotators with overlap): rounded to a tenth of a degree and folded into [0, 360).
double mapHeading(double azimuth);

class RotorWatch {
 public:
  static constexpr int kTurningPollMs = 500;
  static constexpr int kIdlePollMs = 30000;
  // Readings in a row with the same heading after which the rotator stands: two seconds, so that
  // a rotator that takes a moment to start is still watched.
  static constexpr int kStillReadings = 4;

  // A turn or a stop has been sent: watch the rotator closely again.
  void commanded();
  // A reading of the azimuth; the heading to show when it is not the one shown.
  std::optional<double> reading(double azimuth);
  // The rotator cannot be read: NaN, to hide the heading, when one is shown.
  std::optional<double> lost();

  bool turning() const { return turning_; }
  int nextPollMs() const { return turning_ ? kTurningPollMs : kIdlePollMs; }

 private:
  bool turning_ = false;
  int stillReadings_ = 0;
  std::optional<double> last_;   // the last reading's heading
  std::optional<double> shown_;  // the heading shown; NaN when hidden
};

}  // namespace orbelle::station
