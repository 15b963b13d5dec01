// The station, the map radius, the UTC offset and the options, each way in with its own rule:
// the host's server object, the window object's fields, and the operator's option fields.

#include "model/map_model.hpp"
#include "model/options_rules.hpp"

namespace orbelle::model {
namespace {

QString latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool MapModel::refuse(OptionField field) {
  emit fieldRefused(field);
  return false;
}

void MapModel::setField(OptionField field, const QString& text) {
  if (fields_[field] == text) return;
  fields_[field] = text;
  emit optionsChanged();
}

void MapModel::setFieldText(OptionField field, const QString& text) { setField(field, text); }

// ---- station ----

void MapModel::applyLatHere(double value) {
  state_.plane.LatHere = value;
  emit stationChanged();
}

void MapModel::applyLonHere(double value) {
  state_.plane.LonHere = value;
  emit stationChanged();
}

void MapModel::setLatitudeFromHost(double value) {
  setField(OptionField::LatHere, numbers_.text(value));
  applyLatHere(value);
}

void MapModel::setLongitudeFromHost(double value) {
  setField(OptionField::LonHere, numbers_.text(value));
  applyLonHere(value);
}

void MapModel::setLatHere(double value) { applyLatHere(value); }

void MapModel::setLonHere(double value) { applyLonHere(value); }

bool MapModel::txtLatHere_LostFocus() {
  const std::optional<double> value = numbers_.parse(fields_.txtLatHere);
  if (!value) return refuse(OptionField::LatHere);
  const double bounded = boundLatitude(*value);
  setField(OptionField::LatHere, numbers_.text(bounded));
  applyLatHere(bounded);
  return true;
}

bool MapModel::txtLonHere_LostFocus() {
  const std::optional<double> value = numbers_.parse(fields_.txtLonHere);
  if (!value) return refuse(OptionField::LonHere);
  const double bounded = boundLongitude(*value);
  setField(OptionField::LonHere, numbers_.text(bounded));
  applyLonHere(bounded);
  return true;
}

// ---- map radius ----

void MapModel::applyMaxDx(std::int16_t miles) {
  state_.plane.MaxDx = miles;
  emit radiusChanged();
}

void MapModel::setMaxDxMiFromHost(std::int16_t miles) {
  setField(OptionField::MaxDxMi, numbers_.text(miles));
  txtMaxDxMi_Lostfocus();
}

void MapModel::setMaxDxKmFromHost(std::int16_t km) {
  setField(OptionField::MaxDxKm, numbers_.text(km));
  txtMaxDxKm_LostFocus();
}

void MapModel::setMaxDx(std::int16_t miles) { applyMaxDx(miles); }

std::int32_t MapModel::MaxDxKm() const { return kmOfMiles(state_.plane.MaxDx); }

bool MapModel::txtMaxDxMi_Lostfocus() {
  const std::optional<double> value = numbers_.parse(fields_.txtMaxDxMi);
  if (!value) return refuse(OptionField::MaxDxMi);
  const MilesEntry entry = milesEntry(*value);
  if (entry.replacementText) setField(OptionField::MaxDxMi, latin1(*entry.replacementText));
  setField(OptionField::MaxDxKm, numbers_.text(entry.km));
  applyMaxDx(entry.MaxDx);
  return true;
}

bool MapModel::txtMaxDxKm_LostFocus() {
  const std::optional<double> value = numbers_.parse(fields_.txtMaxDxKm);
  if (!value) return refuse(OptionField::MaxDxKm);
  const std::int16_t miles = milesOfKm(*value);
  setField(OptionField::MaxDxMi, numbers_.text(miles));
  applyMaxDx(miles);
  return true;
}

void MapModel::cmdWholeEarth_Click() {
  setField(OptionField::MaxDxMi, latin1(kMilesFieldMaxText));
  txtMaxDxMi_Lostfocus();
}

// ---- UTC offset ----

void MapModel::setUTCOffsetFromHost(std::int16_t hours) {
  setField(OptionField::UTCOffset, numbers_.text(hours));
  txtUTCOffset_LostFocus();
}

// A UTC offset that differs from the one held is the operator's or the host's choice: from now
// on it is stored.
void MapModel::takeUTCOffset(double hours) {
  if (hours != state_.UTCOffset) state_.UTCOffsetFromSystem = false;
  state_.UTCOffset = hours;
}

void MapModel::setUTCOffset(double hours) {
  takeUTCOffset(hours);
  emit optionsChanged();
}

void MapModel::setUTCOffsetSeconds(double seconds) {
  state_.UTCOffsetSeconds = seconds;
  emit optionsChanged();
}

bool MapModel::txtUTCOffset_LostFocus() {
  const std::optional<double> value = numbers_.parse(fields_.txtUTCOffset);
  if (!value) return refuse(OptionField::UTCOffset);
  takeUTCOffset(*value);
  state_.UTCOffsetSeconds = state_.UTCOffset * kSecondsPerHour;
  emit optionsChanged();
  return true;
}

// ---- options ----

void MapModel::chkShowSpots_Click(bool checked) {
  state_.ShowSpots = checked;
  if (!state_.ShowSpots) {
    state_.ShowSpotBy = false;
    state_.ShowConnectingLines = false;
  }
  emit optionsChanged();
  DrawSpots();
}

void MapModel::chkShowSpotBy_Click(bool checked) {
  state_.ShowSpotBy = checked;
  if (!state_.ShowSpotBy) state_.ShowConnectingLines = false;
  emit optionsChanged();
  DrawSpots();
}

void MapModel::chkShowConnectingLines_Click(bool checked) {
  state_.ShowConnectingLines = checked;
  emit optionsChanged();
  DrawSpots();
}

void MapModel::chkShowCalls_Click(bool checked) {
  state_.ShowCalls = checked;
  emit optionsChanged();
  DrawSpots();
}

void MapModel::chkAlwaysOnTop_Click(bool checked) {
  state_.AlwaysOnTop = checked;
  emit optionsChanged();
}

void MapModel::setShowSun(bool on) {
  state_.ShowSun = on;
  emit optionsChanged();
}

void MapModel::setShadeNight(bool on) {
  if (state_.ShadeNight == on) return;
  state_.ShadeNight = on;
  emit optionsChanged();
  redrawOverlay();
}

void MapModel::setShowRivers(bool on) {
  state_.ShowRivers = on;
  emit optionsChanged();
}

void MapModel::setShowSpots(bool on) {
  state_.ShowSpots = on;
  emit optionsChanged();
}

void MapModel::setShowSpotBy(bool on) {
  state_.ShowSpotBy = on;
  emit optionsChanged();
}

void MapModel::setShowConnectingLines(bool on) {
  state_.ShowConnectingLines = on;
  emit optionsChanged();
}

}  // namespace orbelle::model
