#pragma once

// The spots as the window drives them: it clears them when it loads and places them again
// after every resize and every change of a show option. The spots part of the map supplies the
// implementation and attaches it to the window.

namespace orbelle::shell {

class SpotLayer {
 public:
  virtual ~SpotLayer() = default;
  // Empties the spot table and hides every marker and line.
  virtual void ClearSpots() = 0;
  // Places every filled slot for the current scale and show options (nothing while Drawing).
  virtual void DrawSpots() = 0;
};

}  // namespace orbelle::shell
