// The options panel: showing and closing it, the field validations with their bounds and
// message, the check boxes, always-on-top, the help button and clearing the spots.

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include "form1_parts.hpp"
#include "map_layers.hpp"
#include "number_format.hpp"
#include "options_rules.hpp"
#include "shell/surface_widget.hpp"
#include "shell/texts.hpp"

namespace orbelle::shell {

void Form1::cmdSetup_Click() {
  placeOptionsPanel();
  c_.FrameSetup->show();
  setDefaultButton(c_.CmdSetupOK);
  c_.txtLatHere->setFocus(Qt::OtherFocusReason);
}

void Form1::CmdSetupOK_Click() {
  if (panelActionBlocked()) return;
  // Enter pressed in a field presses "Ok" without moving the focus: check the field first.
  if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      edit && c_.FrameSetup->isAncestorOf(edit) && !validateField(edit)) {
    return;
  }
  c_.FrameSetup->hide();
  setDefaultButton(c_.cmdDraw);
  // Erase what was drawn on the surface (the picture in Image1 stays), then the overlay again.
  layers_->recompose();
  c_.Picture1->update();
  SunTimer_Timer();
}

void Form1::cmdWholeEarth_Click() {
  if (panelActionBlocked()) return;
  c_.txtMaxDxMi->setText(
      QString::fromLatin1(kMilesFieldMaxText.data(), static_cast<int>(kMilesFieldMaxText.size())));
  txtMaxDxMi_Lostfocus();
}

void Form1::cmdHelp_Click() {
  if (!services_.help->showHelp(QString::fromUtf8(text::kHelpFile),
                                QString::fromUtf8(text::kHelpMacro))) {
    services_.messages->message(QStringLiteral("No help viewer could be started."), caption(),
                                MessageIcon::Information);
  }
}

void Form1::cmdClrSpots_Click() {
  if (!services_.messages->askYesNo(QString::fromUtf8(text::kClearSpotsQuestion), caption())) {
    return;
  }
  ClearSpots();
  SunTimer_Timer();
}

// ---- validations ----

bool Form1::refuseNumber(QLineEdit* field) {
  // The message and the refocus wait for the focus change under way to finish, so that a
  // button pressed to leave the field neither acts (it checks panelActionBlocked) nor sticks.
  const bool queued = refusedField_ != nullptr;
  refusedField_ = field;
  if (!queued) QTimer::singleShot(0, this, [this] { showRefusal(); });
  return false;
}

void Form1::showRefusal() {
  QLineEdit* field = refusedField_;
  if (!field) return;
  validating_ = true;  // the focus changes below are not the operator leaving a field
  services_.messages->message(QString::fromUtf8(text::kNotANumber), caption(), MessageIcon::None);
  if (field->isVisible()) field->setFocus(Qt::OtherFocusReason);
  refusedField_ = nullptr;
  validating_ = false;
}

bool Form1::txtLatHere_LostFocus() {
  const std::optional<double> value = numbers_->parse(c_.txtLatHere->text());
  if (!value) return refuseNumber(c_.txtLatHere);
  state_.plane.LatHere = boundLatitude(*value);
  c_.txtLatHere->setText(numbers_->text(state_.plane.LatHere));
  return true;
}

bool Form1::txtLonHere_LostFocus() {
  const std::optional<double> value = numbers_->parse(c_.txtLonHere->text());
  if (!value) return refuseNumber(c_.txtLonHere);
  state_.plane.LonHere = boundLongitude(*value);
  c_.txtLonHere->setText(numbers_->text(state_.plane.LonHere));
  return true;
}

bool Form1::txtUTCOffset_LostFocus() {
  const std::optional<double> value = numbers_->parse(c_.txtUTCOffset->text());
  if (!value) return refuseNumber(c_.txtUTCOffset);
  state_.UTCOffset = *value;
  state_.UTCOffsetSeconds = state_.UTCOffset * kSecondsPerHour;
  return true;
}

bool Form1::txtMaxDxMi_Lostfocus() {
  const std::optional<double> value = numbers_->parse(c_.txtMaxDxMi->text());
  if (!value) return refuseNumber(c_.txtMaxDxMi);
  const MilesEntry entry = milesEntry(*value);
  if (entry.replacementText) {
    c_.txtMaxDxMi->setText(QString::fromLatin1(entry.replacementText->data(),
                                               static_cast<int>(entry.replacementText->size())));
  }
  state_.plane.MaxDx = entry.MaxDx;
  c_.txtMaxDxKm->setText(numbers_->text(entry.km));
  return true;
}

bool Form1::txtMaxDxKm_LostFocus() {
  const std::optional<double> value = numbers_->parse(c_.txtMaxDxKm->text());
  if (!value) return refuseNumber(c_.txtMaxDxKm);
  state_.plane.MaxDx = milesOfKm(*value);
  c_.txtMaxDxMi->setText(numbers_->text(state_.plane.MaxDx));
  c_.txtMaxDxKm->setModified(false);
  return true;
}

QString Form1::numberText(double value) const { return numbers_->text(value); }

bool Form1::validateField(QLineEdit* field) {
  if (field == c_.txtLatHere) return txtLatHere_LostFocus();
  if (field == c_.txtLonHere) return txtLonHere_LostFocus();
  if (field == c_.txtUTCOffset) return txtUTCOffset_LostFocus();
  if (field == c_.txtMaxDxMi) return txtMaxDxMi_Lostfocus();
  // The kilometre field converts with rounding down both ways, so leaving it unchanged would
  // take a mile off the radius each time; it applies only what the operator typed.
  if (field == c_.txtMaxDxKm) return !c_.txtMaxDxKm->isModified() || txtMaxDxKm_LostFocus();
  return true;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !validating_) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Switching to another window or opening a menu does not leave the field.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
        reason != Qt::MenuBarFocusReason) {
      if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
        validating_ = true;
        validateField(edit);
        validating_ = false;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Form1::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
    QWidget::keyPressEvent(event);
    return;
  }
  // Enter presses the default button ("&Draw", or "Ok" while the panel is open); a focused
  // button takes it itself.
  QWidget* focus = QApplication::focusWidget();
  QPushButton* target = qobject_cast<QPushButton*>(focus);
  if (!target || !isAncestorOf(target)) target = defaultButton_;
  if (!target || !target->isVisible() || !target->isEnabled()) return;
  if (auto* edit = qobject_cast<QLineEdit*>(focus); edit && isAncestorOf(edit)) {
    validating_ = true;
    const bool ok = validateField(edit);
    validating_ = false;
    if (!ok) return;
  }
  target->click();
}

// ---- check boxes ----

void Form1::chkAlwaysOnTop_Click(bool checked) {
  state_.AlwaysOnTop = checked;
  SetAlwaysOnTop(state_.AlwaysOnTop);
}

void Form1::chkShowRivers_Click(bool checked) { state_.ShowRivers = checked; }

void Form1::chkShowSun_Click(bool checked) { state_.ShowSun = checked; }

void Form1::chkShowSpots_Click(bool checked) {
  state_.ShowSpots = checked;
  if (!state_.ShowSpots) {
    state_.ShowSpotBy = false;
    c_.chkShowSpotBy->setChecked(false);
    state_.ShowConnectingLines = false;
    c_.chkShowConnectingLines->setChecked(false);
  }
  c_.chkShowConnectingLines->setEnabled(state_.ShowSpots && state_.ShowSpotBy);
  c_.chkShowSpotBy->setEnabled(state_.ShowSpots);
  DrawSpots();
}

void Form1::chkShowSpotBy_Click(bool checked) {
  state_.ShowSpotBy = checked;
  if (!state_.ShowSpotBy) {
    state_.ShowConnectingLines = false;
    c_.chkShowConnectingLines->setChecked(false);
  }
  c_.chkShowConnectingLines->setEnabled(state_.ShowSpotBy);
  DrawSpots();
}

void Form1::chkShowConnectingLines_Click(bool checked) {
  state_.ShowConnectingLines = checked;
  DrawSpots();
}

void Form1::SetAlwaysOnTop(bool on) {
  if (on == windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
  QWindow* window = windowHandle();
  if (!window) {
    // Not created yet: the flag is simply part of the window-to-be.
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    return;
  }
  // Changing the widget's flags would re-create the window (hiding and moving it); the window
  // system's flag is changed in place instead, keeping position and size.
  Qt::WindowFlags flags = windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, on);
  overrideWindowFlags(flags);
  window->setFlags(flags);
}

}  // namespace orbelle::shell
