#pragma once

// Message boxes behind an interface: the model, the window and the drawing pass tell the
// operator through it; the window gives real boxes, the tests record them.

#include <QString>

namespace orbelle::model {

enum class MessageIcon { None, Information, Error };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A box with an OK button; returns when the operator has closed it.
  virtual void message(const QString& text, const QString& title, MessageIcon icon) = 0;
  // A box with Yes and No buttons and a question icon; true for Yes.
  virtual bool askYesNo(const QString& text, const QString& title) = 0;
};

}  // namespace orbelle::model
