// The spots of the map: the ring, placing the markers again whenever the map changes under them,
// and the presses on markers and on the map that call the host.

#include <QLocale>
#include <cmath>
#include <exception>

#include "model/map_model.hpp"
#include "spots/marker_press.hpp"
#include "spots/sample_spots.hpp"

namespace orbelle::model {
namespace {

// A value the host gave back for a frequency cell, when it is a number.
std::optional<double> numberOf(const QVariant& value) {
  bool ok = false;
  const double number = value.toDouble(&ok);
  if (!ok) return std::nullopt;
  return number;
}

}  // namespace

void MapModel::AddSpot(const spots::SpotArgs& spot) {
  const int slot = spots_.AddSpot(state_.plane.LatHere, state_.plane.LonHere, spot,
                                  QLocale().decimalPoint().toStdString(), state_.MaxSpots);
  emit spotAdded(slot);
}

void MapModel::ClearSpots() {
  spots_.ClearSpots(state_.MaxSpots);
  emit spotsCleared();
}

void MapModel::DrawSpots() {
  if (!drawing_) emit spotsPlaced();
}

void MapModel::testspot() {
  for (const spots::SpotArgs& s : spots::sampleSpots()) AddSpot(s);
}

void MapModel::pressMarker(int slot, spots::MarkerKind kind, int button) {
  if (slot < 1 || slot > spots_.MaxSpots() || !spots_.slot(slot).filled) return;
  // Held for the calls: the host may replace Callback while the map waits for its answers.
  const std::shared_ptr<HostCallback> callback = callbackObject_;
  if (!callback) return;
  const spots::SpotRow& row = spots_.row(slot);
  const double heading =
      spots::pressHeading(state_.plane.LatHere, state_.plane.LonHere, row, kind, button);
  // Read before the first call: the host may add or clear spots while it handles it.
  const spots::RigRequest rig = spots::rigRequestOf(row);
  const std::uint64_t generation = spots_.generation();
  QVariant SpotFreq(rig.SpotFreq);
  QVariant SpotFreqTX(rig.SpotFreqTX);
  QVariant Mode(QString::fromStdString(rig.Mode));
  try {
    callback->orbellesetrotor(heading);
    // Callback is looked at again: the host may have emptied it while it turned the rotor.
    const std::shared_ptr<HostCallback> rigCallback = callbackObject_;
    if (!rigCallback) return;
    rigCallback->orbellesetrig(SpotFreq, SpotFreqTX, Mode);
  } catch (const std::exception&) {
    return;  // a failed host call ends the press; the map goes on working
  }
  // The three values went by reference: what the host left in them is the spot's now.
  spots::RigRequest answer = rig;
  answer.SpotFreq = numberOf(SpotFreq).value_or(rig.SpotFreq);
  answer.SpotFreqTX = numberOf(SpotFreqTX).value_or(rig.SpotFreqTX);
  if (Mode.canConvert<QString>()) answer.Mode = Mode.toString().toStdString();
  spots_.answerRig(slot, generation, answer);
}

void MapModel::setAntennaHeading(double degrees) {
  const double old = state_.AntennaHeading;
  if (degrees == old || (!std::isfinite(degrees) && !std::isfinite(old))) return;
  state_.AntennaHeading = degrees;
  emit antennaHeadingChanged();
}

void MapModel::pressMap(geo::PlanePosition p, int button) {
  const std::shared_ptr<HostCallback> callback = callbackObject_;
  if (!callback) return;
  callback->orbellesetrotor(geo::rotorHeading(p, button));
}

void MapModel::stopRotor() {
  if (const std::shared_ptr<HostCallback> callback = callbackObject_) callback->orbellestoprotor();
}

}  // namespace orbelle::model
