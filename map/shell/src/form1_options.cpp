// The options panel: showing and closing it, the fields handed to the model's rules when the
// operator leaves them (and the message when one holds no number), help, clearing the spots,
// "&Save picture" and always-on-top.

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

#include "raster/qt/picture_file.hpp"
#include "shell/form1.hpp"
#include "shell/host_notice.hpp"
#include "shell/texts.hpp"

namespace orbelle::shell {

using model::MessageIcon;
using model::OptionField;

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
  // What was drawn on the surface goes (the picture in Image1 stays), then the overlay again.
  model_.redrawOverlay();
}

void Form1::cmdHelp_Click() {
  const HelpShown help = services_.help->showHelp(QString::fromUtf8(text::kHelpFile),
                                                  QString::fromUtf8(text::kHelpMacro));
  if (help) {
    notice_->show(QString::fromUtf8(text::kHelpOpened).arg(help.file));
    return;
  }
  services_.messages->message(QString::fromUtf8(text::kNoHelpViewer) + QLatin1Char('\n') +
                                  QString::fromUtf8(text::kHelpFileNamed).arg(help.file),
                              caption(), MessageIcon::Information);
}

void Form1::cmdClrSpots_Click() {
  if (!services_.messages->askYesNo(QString::fromUtf8(text::kClearSpotsQuestion), caption())) {
    return;
  }
  model_.ClearSpots();
  model_.SunTimer_Timer();
}

void Form1::cmdSavePict_Click() {
  if (!model_.hasPicture()) {
    services_.messages->message(QString::fromUtf8(text::kNothingToSave),
                                QString::fromUtf8(text::kSavePictureTitle),
                                MessageIcon::Information);
    return;
  }
  model_.beginSaveDialog();
  SaveDialogRequest request;
  request.filter = QString::fromUtf8(text::kBitmapFilter);
  request.defaultExtension = QString::fromUtf8(text::kBitmapExtension);
  request.initialFolder = services_.pictureFolder.isEmpty()
                              ? QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)
                              : services_.pictureFolder;
  request.overwritePrompt = true;
  SaveDialogResult chosen;
  for (;;) {
    chosen = services_.saveDialog->show(request);
    if (!chosen.extensionDifferent) break;
    services_.messages->message(QString::fromUtf8(text::kOnlyBmp),
                                QString::fromUtf8(text::kSavePictureTitle),
                                MessageIcon::Information);
  }
  if (!chosen.fileName.isEmpty()) {
    try {
      model_.SaveImage(chosen.fileName);
    } catch (const raster::PictureError& e) {
      services_.messages->message(QStringLiteral("The picture could not be saved: %1")
                                      .arg(QString::fromStdString(e.what())),
                                  QString::fromUtf8(text::kSavePictureTitle), MessageIcon::Error);
    }
  }
  model_.endSaveDialog();
}

// ---- validations ----

void Form1::refuseNumber(QLineEdit* field) {
  // The message and the refocus wait for the focus change under way to finish, so that a
  // button pressed to leave the field neither acts (it checks panelActionBlocked) nor sticks.
  const bool queued = refusedField_ != nullptr;
  refusedField_ = field;
  if (!queued) QTimer::singleShot(0, this, [this] { showRefusal(); });
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

bool Form1::validateField(QLineEdit* field) {
  if (field == c_.txtLatHere) {
    model_.setFieldText(OptionField::LatHere, field->text());
    return model_.txtLatHere_LostFocus();
  }
  if (field == c_.txtLonHere) {
    model_.setFieldText(OptionField::LonHere, field->text());
    return model_.txtLonHere_LostFocus();
  }
  if (field == c_.txtUTCOffset) {
    model_.setFieldText(OptionField::UTCOffset, field->text());
    return model_.txtUTCOffset_LostFocus();
  }
  if (field == c_.txtMaxDxMi) {
    model_.setFieldText(OptionField::MaxDxMi, field->text());
    return model_.txtMaxDxMi_Lostfocus();
  }
  // The kilometre field converts with rounding down both ways, so leaving it unchanged would
  // take a mile off the radius each time; it applies only what the operator typed.
  if (field == c_.txtMaxDxKm && c_.txtMaxDxKm->isModified()) {
    model_.setFieldText(OptionField::MaxDxKm, field->text());
    const bool ok = model_.txtMaxDxKm_LostFocus();
    if (ok) c_.txtMaxDxKm->setModified(false);
    return ok;
  }
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
