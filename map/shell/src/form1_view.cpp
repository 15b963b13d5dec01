// The window following the model: the option fields and check boxes show what the model holds,
// the Drawing state disables what must wait, the surface repaints when the map's pixels change,
// a refused field gets its message, and the model's requests to unload and its notes to the
// operator arrive here.

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include "shell/form1.hpp"
#include "shell/host_notice.hpp"
#include "shell/surface_widget.hpp"

namespace orbelle::shell {

void Form1::observeModel() {
  using model::MapModel;
  connect(&model_, &MapModel::optionsChanged, this, [this] {
    showFields();
    showOptions();
  });
  connect(&model_, &MapModel::stationChanged, this, [this] {
    showFields();
    showStationLocator();
  });
  connect(&model_, &MapModel::radiusChanged, this, [this] { showFields(); });
  connect(&model_, &MapModel::fieldRefused, this,
          [this](model::OptionField field) { refuseNumber(fieldEdit(field)); });
  connect(&model_, &MapModel::drawingChanged, this, [this](bool on) {
    showDrawing(on);
    showDrawingNote();
  });
  connect(&model_, &MapModel::passStarted, this, [this] { c_.cmdCancel->setEnabled(true); });
  connect(&model_, &MapModel::passFinished, this, [this] {
    c_.cmdCancel->setEnabled(false);
    showDrawingNote();
  });
  connect(&model_, &MapModel::layersChanged, c_.Picture1, [this] { c_.Picture1->update(); });
  connect(&model_, &MapModel::antennaHeadingChanged, c_.Picture1,
          [this] { c_.Picture1->update(); });
  connect(&model_, &MapModel::settledChanged, this, [this] {
    if (!closeOwed_ || model_.passRunning() || model_.refreshing()) return;
    closeOwed_ = false;
    QTimer::singleShot(0, this, [this] { close(); });
  });
  connect(&model_, &MapModel::unloadRequested, this, [this] { Unload(); });
  connect(&model_, &MapModel::hostNotice, this,
          [this](const QString& text) { notice_->show(text); });
}

QLineEdit* Form1::fieldEdit(model::OptionField field) const {
  switch (field) {
    case model::OptionField::LatHere:
      return c_.txtLatHere;
    case model::OptionField::LonHere:
      return c_.txtLonHere;
    case model::OptionField::UTCOffset:
      return c_.txtUTCOffset;
    case model::OptionField::MaxDxMi:
      return c_.txtMaxDxMi;
    case model::OptionField::MaxDxKm:
      break;
  }
  return c_.txtMaxDxKm;
}

void Form1::showFields() {
  using model::OptionField;
  for (const OptionField field :
       {OptionField::LatHere, OptionField::LonHere, OptionField::UTCOffset, OptionField::MaxDxMi,
        OptionField::MaxDxKm}) {
    const QString& text = model_.fields()[field];
    if (text == shownFields_[field]) continue;
    shownFields_[field] = text;
    QLineEdit* edit = fieldEdit(field);
    edit->setText(text);
    edit->setModified(false);
  }
}

void Form1::showOptions() {
  const model::MapState& s = model_.state();
  const std::pair<QCheckBox*, bool> boxes[] = {
      {c_.chkAlwaysOnTop, s.AlwaysOnTop}, {c_.chkShowRivers, s.ShowRivers},
      {c_.chkShowSun, s.ShowSun},         {c_.chkShadeNight, s.ShadeNight},
      {c_.chkShowSpots, s.ShowSpots},     {c_.chkShowCalls, s.ShowCalls},
      {c_.chkShowSpotBy, s.ShowSpotBy},   {c_.chkShowConnectingLines, s.ShowConnectingLines},
  };
  for (const auto& [box, checked] : boxes) {
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
  }
  c_.chkShowConnectingLines->setEnabled(s.ShowSpots && s.ShowSpotBy);
  c_.chkShowSpotBy->setEnabled(s.ShowSpots);
  c_.chkShowCalls->setEnabled(s.ShowSpots);
  SetAlwaysOnTop(s.AlwaysOnTop);
}

void Form1::showDrawing(bool drawing) {
  if (drawing) {
    c_.FrameSetup->hide();
    c_.cmdSetup->setEnabled(false);
    c_.cmdSavePict->setEnabled(false);
    setCursor(Qt::WaitCursor);
  } else {
    c_.cmdSetup->setEnabled(true);
    c_.cmdSavePict->setEnabled(true);
    unsetCursor();
  }
}

void Form1::showDrawingNote() {
  // Until a first map is there, the white square says that one is on its way.
  const bool on = !model_.hasPicture() && (model_.Drawing() || model_.drawAsyncPending());
  QLabel* note = c_.lblDrawingNote;
  if (on) {
    note->adjustSize();
    note->move(c_.Picture1->rect().center() - note->rect().center());
    note->raise();
  }
  note->setVisible(on);
}

}  // namespace orbelle::shell
