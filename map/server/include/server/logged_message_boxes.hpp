#pragma once

// Message boxes that are written to a file instead of shown, for runs without anyone to close
// them (tests of the whole program, which set ORBELLE_MESSAGE_LOG to the file). Each box is
// appended as one line, "icon<TAB>title<TAB>text", with the icon "none", "information",
// "error" or "question"; a box closes at once and a question is answered No.

#include <QString>

#include "model/message_boxes.hpp"

namespace orbelle::server {

inline constexpr const char* kMessageLogVariable = "ORBELLE_MESSAGE_LOG";

class LoggedMessageBoxes final : public model::MessageBoxes {
 public:
  explicit LoggedMessageBoxes(QString path) : path_(std::move(path)) {}
  void message(const QString& text, const QString& title, model::MessageIcon icon) override;
  bool askYesNo(const QString& text, const QString& title) override;

 private:
  void append(const char* icon, const QString& title, const QString& text) const;
  QString path_;
};

}  // namespace orbelle::server
