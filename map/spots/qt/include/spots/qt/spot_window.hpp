#pragma once

// What the spot overlay needs of the map window: the station and the surface's scale, the show
// options, the MaxSpots setting, the Drawing flag, where the map image sits in the surface
// widget, and the two host calls of a marker press. The window implements it; tests use a fake.

#include <QPoint>
#include <QVariant>
#include <cstdint>

#include "plane/map_plane.hpp"
#include "spots/slot_layout.hpp"

namespace orbelle::spots {

class SpotWindow {
 public:
  virtual ~SpotWindow() = default;

  // LatHere, LonHere and the scale of the last SetMapScale (MilesPerPixel, MaxDx, picture size).
  virtual const geo::MapPlane& plane() const = 0;
  virtual ShowOptions showOptions() const = 0;
  // The MaxSpots setting as loaded (the overlay bounds it).
  virtual std::int16_t MaxSpots() const = 0;
  virtual bool Drawing() const = 0;
  // The map image's top-left corner in the surface widget's coordinates.
  virtual QPoint imageOrigin() const = 0;

  // The host calls, made on the object the window's Callback holds at the moment of the call.
  // Each returns false, calling nothing, while Callback holds no object.
  virtual bool orbellesetrotor(double heading) = 0;
  virtual bool orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) = 0;
};

}  // namespace orbelle::spots
