#pragma once

// Push buttons of the narrow controls column: the caption wraps onto more lines when the button
// is too narrow for it (the mnemonic "&" still marks the accelerator), and a picture button
// without caption.

#include <QPushButton>

namespace orbelle::shell {

class WrappingButton : public QPushButton {
 public:
  WrappingButton(const QString& caption, QWidget* parent);

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect textArea(const QRect& buttonRect) const;
};

// The small picture of the "Stop rotor" button: a red stop sign.
QIcon stopRotorIcon(int size);

}  // namespace orbelle::shell
