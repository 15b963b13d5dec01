#pragma once

// The antenna's heading on the map: a line from the station out along the heading the rotor
// reports, painted above the map picture and beneath the spot markers, so that it moves with the
// rotor without the overlay being drawn again.

class QPainter;
class QPoint;

namespace orbelle::model {
class MapModel;
}

namespace orbelle::shell {

// Paints the line for the model's AntennaHeading (nothing while it is not finite or before the
// map has a scale), clipped to the map image whose top-left corner is `imageOrigin` (widget
// coordinates).
void paintAntennaLine(QPainter& painter, const model::MapModel& model, const QPoint& imageOrigin);

}  // namespace orbelle::shell
