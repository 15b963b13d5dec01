#pragma once

// The map's message boxes as real boxes (QMessageBox), modal to their owner window.

#include "model/message_boxes.hpp"

class QWidget;

namespace orbelle::shell {

class QtMessageBoxes final : public model::MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}
  void setOwner(QWidget* owner) { owner_ = owner; }
  void message(const QString& text, const QString& title, model::MessageIcon icon) override;
  bool askYesNo(const QString& text, const QString& title) override;

 private:
  QWidget* owner_;
};

}  // namespace orbelle::shell
