// The pointer readout over the map and the presses on it: bearing and distance of the point
// under the pointer, the model told that the pointer moves (it holds the overlay back), and
// presses handed to the model as rotor requests.

#include <QLabel>

#include "geometry/maidenhead.hpp"
#include "plane/pointer.hpp"
#include "shell/form1.hpp"
#include "shell/texts.hpp"

namespace orbelle::shell {
namespace {

geo::PointerScale pointerScale(const model::MapLayers& layers, double tpp) {
  geo::PointerScale scale;
  scale.innerWidthTwips = layers.logicalWidth() * tpp;
  scale.innerHeightTwips = layers.logicalHeight() * tpp;
  // The surface spans −radius .. +radius from its left edge (SetMapScale).
  scale.radius = -layers.mapLayer().scaleLeft();
  return scale;
}

}  // namespace

void Form1::Image1_MouseMove(int px, int py) {
  const geo::PlanePosition p =
      geo::planeOfPointer(px * tpp_, py * tpp_, pointerScale(model_.layers(), tpp_));
  const geo::Readout r = geo::readoutOf(p);
  c_.lblDirDisplay->setText(QString::number(r.heading) + QString::fromUtf8(text::kDegreesUnit));
  c_.lblDxDisplay->setText(QString::number(r.miles) + QString::fromUtf8(text::kMilesUnit));
  c_.lblDxKMDisplay->setText(QString::number(r.km) + QString::fromUtf8(text::kKmUnit));
  const geo::MapPlane& plane = model_.state().plane;
  c_.lblLocatorDisplay->setText(
      QString::fromStdString(geo::locatorOf(p, plane.LatHere, plane.LonHere)));
  model_.pointerMoved();
}

void Form1::Image1_MouseLeave() {
  // Values of a place the pointer has left would mislead.
  for (QLabel* label :
       {c_.lblDirDisplay, c_.lblDxDisplay, c_.lblDxKMDisplay, c_.lblLocatorDisplay}) {
    label->clear();
  }
}

void Form1::showStationLocator() {
  const geo::MapPlane& plane = model_.state().plane;
  c_.lblStationLocator->setText(
      QString::fromStdString(geo::maidenheadLocator(plane.LatHere, plane.LonHere)));
}

void Form1::Image1_MouseDown(int button, int px, int py) {
  model_.pressMap(geo::planeOfPointer(px * tpp_, py * tpp_, pointerScale(model_.layers(), tpp_)),
                  button);
}

}  // namespace orbelle::shell
