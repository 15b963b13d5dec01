// The pointer readout over the map and the rotor requests: bearing and distance of the point
// under the pointer, the deferred overlay rebuild while the pointer moves, and presses on the
// map and on "Stop rotor" sent to the host's callback object.

#include <QLabel>
#include <QTimer>

#include "form1_parts.hpp"
#include "map_layers.hpp"
#include "pointer_rules.hpp"

namespace orbelle::shell {
namespace {

// The pointer must rest this long (milliseconds) before the overlay is rebuilt.
constexpr int kPaintTimerInterval = 1000;

PointerScale pointerScale(const MapLayers& layers, double tpp) {
  PointerScale scale;
  scale.innerWidthTwips = layers.width() * tpp;
  scale.innerHeightTwips = layers.height() * tpp;
  // The surface spans −radius .. +radius from its left edge (SetMapScale).
  scale.radius = -layers.mapLayer().scaleLeft();
  return scale;
}

}  // namespace

void Form1::setCallback(const QVariant& value, std::shared_ptr<HostCallback> object) {
  callbackValue_ = value;
  callbackObject_ = std::move(object);
}

void Form1::Image1_MouseMove(int px, int py) {
  state_.PaintDeferred = true;
  c_.PaintTimer->stop();
  const PlanePosition p = planeOfPointer(px * tpp_, py * tpp_, pointerScale(*layers_, tpp_));
  const Readout r = readoutOf(p);
  c_.lblDirDisplay->setText(QString::number(r.heading));
  c_.lblDxDisplay->setText(QString::number(r.miles));
  c_.lblDxKMDisplay->setText(QString::number(r.km));
  c_.PaintTimer->setInterval(kPaintTimerInterval);
  c_.PaintTimer->start();
}

void Form1::Image1_MouseDown(int button, int px, int py) {
  // Held for the call: the host may replace Callback while the map waits for its answer.
  const std::shared_ptr<HostCallback> callback = callbackObject_;
  if (!callback) return;
  const PlanePosition p = planeOfPointer(px * tpp_, py * tpp_, pointerScale(*layers_, tpp_));
  callback->orbellesetrotor(rotorHeading(p, button));
}

void Form1::cmdStopRotor_Click() {
  if (const std::shared_ptr<HostCallback> callback = callbackObject_) callback->orbellestoprotor();
}

}  // namespace orbelle::shell
