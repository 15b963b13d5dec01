#include "shell/qt_message_boxes.hpp"

#include <QMessageBox>

namespace orbelle::shell {

void QtMessageBoxes::message(const QString& text, const QString& title, model::MessageIcon icon) {
  QMessageBox box(owner_);
  box.setWindowTitle(title);
  box.setText(text);
  switch (icon) {
    case model::MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case model::MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case model::MessageIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

bool QtMessageBoxes::askYesNo(const QString& text, const QString& title) {
  QMessageBox box(owner_);
  box.setWindowTitle(title);
  box.setText(text);
  box.setIcon(QMessageBox::Question);
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace orbelle::shell
