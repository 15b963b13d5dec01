#pragma once

// What the drawing pass needs from the window that runs it. The Qt map window, the headless
// renderer and the tests each implement it, so all of them drive the same pass.
//
// Every call is made on the window's one thread. letEventsRun() may run any pending window event,
// a request to cancel (DrawingPass::requestCancel) or to draw again (cmdDraw_Click) included; it
// must not destroy the pass, the map plane or the map layer surface.

#include <string>

#include "raster/surface.hpp"

namespace orbelle::render {

class PassWindow {
 public:
  virtual ~PassWindow() = default;

  // The window's Drawing flag. True hides the options panel, disables the options and save
  // buttons and shows the busy pointer; false enables those buttons again.
  virtual void setDrawing(bool drawing) = 0;

  // Start of a pass: enable the cancel button, stop the overlay timer, hide the cached map
  // image, and direct all further drawing to the persistent map layer, which is returned. The
  // pass clears and scales it; it must stay alive and keep its size until endPass().
  virtual raster::Surface& beginPass() = 0;

  // Lets pending window events run once (once per outline polyline).
  virtual void letEventsRun() = 0;

  // Shows a message with a single OK button, titled with the program's name, and returns once
  // it is dismissed.
  virtual void showMessage(const std::string& text) = 0;

  // After a completed (not cancelled) pass: save the map layer as the cache file, mark the map
  // cached, and show the cached picture. The pass clears the map layer afterwards.
  virtual void writeCache(const raster::Surface& mapLayer) = 0;

  // End of a pass: direct further drawing to the overlay and disable the cancel button. The
  // pass then clears Drawing.
  virtual void endPass() = 0;

  // The overlay refresh (sun, gray line, path), run once after every pass; the window restarts
  // its overlay timer afterwards when the sun is shown.
  virtual void refreshOverlay() = 0;
};

}  // namespace orbelle::render
