#include "server/logged_message_boxes.hpp"

#include <QFile>

namespace orbelle::server {

void LoggedMessageBoxes::append(const char* icon, const QString& title, const QString& text) const {
  QFile file(path_);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  file.write(QStringLiteral("%1\t%2\t%3\n").arg(QLatin1String(icon), title, text).toUtf8());
}

void LoggedMessageBoxes::message(const QString& text, const QString& title,
                                 model::MessageIcon icon) {
  const char* name = icon == model::MessageIcon::Error         ? "error"
                     : icon == model::MessageIcon::Information ? "information"
                                                               : "none";
  append(name, title, text);
}

bool LoggedMessageBoxes::askYesNo(const QString& text, const QString& title) {
  append("question", title, text);
  return false;
}

}  // namespace orbelle::server
