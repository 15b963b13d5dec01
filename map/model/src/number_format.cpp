#include "model/number_format.hpp"

#include <cmath>

namespace orbelle::model {
namespace {

constexpr int kSignificantDigits = 15;

}  // namespace

NumberFormat::NumberFormat() : NumberFormat(QLocale()) {}

NumberFormat::NumberFormat(QLocale locale) : locale_(std::move(locale)) {
  locale_.setNumberOptions(QLocale::OmitGroupSeparator);
}

QString NumberFormat::text(double value) const {
  if (value == 0.0) value = 0.0;  // no "-0"
  return locale_.toString(value, 'g', kSignificantDigits);
}

std::optional<double> NumberFormat::parse(const QString& text) const {
  bool ok = false;
  const double value = locale_.toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace orbelle::model
