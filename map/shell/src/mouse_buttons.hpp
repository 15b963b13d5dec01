#pragma once

// The mouse button codes the map's handlers take (1 left, 2 right, 4 middle; 0 for any other
// button), from Qt's buttons.

#include <Qt>

#include "plane/pointer.hpp"

namespace orbelle::shell {

inline int buttonCodeOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return geo::kLeftButton;
    case Qt::RightButton:
      return geo::kRightButton;
    case Qt::MiddleButton:
      return geo::kMiddleButton;
    default:
      return 0;
  }
}

}  // namespace orbelle::shell
