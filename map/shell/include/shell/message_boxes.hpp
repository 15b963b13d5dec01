#pragma once

// Message boxes of the map window behind an interface, so tests can see and answer them.

#include <QString>

class QWidget;

namespace orbelle::shell {

enum class MessageIcon { None, Information, Error };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A box with an OK button; returns when the operator has closed it.
  virtual void message(const QString& text, const QString& title, MessageIcon icon) = 0;
  // A box with Yes and No buttons and a question icon; true for Yes.
  virtual bool askYesNo(const QString& text, const QString& title) = 0;
};

// Real boxes (QMessageBox), modal to `owner`.
class QtMessageBoxes final : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}
  void setOwner(QWidget* owner) { owner_ = owner; }
  void message(const QString& text, const QString& title, MessageIcon icon) override;
  bool askYesNo(const QString& text, const QString& title) override;

 private:
  QWidget* owner_;
};

}  // namespace orbelle::shell
