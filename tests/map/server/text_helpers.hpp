#pragma once

// Texts in tests: QString in failure messages, and the settings file the map writes.

#include <QRegularExpression>
#include <QString>
#include <ostream>

// Google Test shows a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace orbelle::server::test {

// The settings text holds the line `key`=`value`; numbers may carry a blank for their sign.
inline bool holdsSetting(const QString& iniText, const QString& key, const QString& value) {
  const QRegularExpression line(
      QStringLiteral("^%1= ?%2\\r?$")
          .arg(QRegularExpression::escape(key), QRegularExpression::escape(value)),
      QRegularExpression::MultilineOption);
  return iniText.contains(line);
}

}  // namespace orbelle::server::test
