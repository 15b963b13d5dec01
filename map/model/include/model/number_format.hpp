#pragma once

// Numbers in the window's fields, in the operator's number format: the locale's decimal
// separator and minus sign, no thousands separators, up to 15 significant digits without
// trailing zeros (the general number format).

#include <QLocale>
#include <QString>
#include <optional>

namespace orbelle::model {

class NumberFormat {
 public:
  // The default locale (the operator's, unless a test sets another).
  NumberFormat();
  explicit NumberFormat(QLocale locale);

  QString text(double value) const;
  // The field's text as a finite number, blanks around it allowed; nullopt for anything else
  // (empty text, letters, infinities, NaN).
  std::optional<double> parse(const QString& text) const;

 private:
  QLocale locale_;
};

}  // namespace orbelle::model
