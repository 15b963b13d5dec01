#include "server/bus_values.hpp"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <cmath>
#include <limits>
#include <mutex>

#include "geometry/rounding.hpp"

namespace orbelle::server {

QDBusArgument& operator<<(QDBusArgument& argument, const BusObjectRef& ref) {
  argument.beginStructure();
  argument << ref.service << ref.path;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, BusObjectRef& ref) {
  argument.beginStructure();
  argument >> ref.service >> ref.path;
  argument.endStructure();
  return argument;
}

namespace {

constexpr qint64 kInt16Min = std::numeric_limits<std::int16_t>::min();
constexpr qint64 kInt16Max = std::numeric_limits<std::int16_t>::max();
constexpr qint64 kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr qint64 kInt32Max = std::numeric_limits<std::int32_t>::max();

bool isSignedInteger(int id) {
  return id == QMetaType::Short || id == QMetaType::Int || id == QMetaType::LongLong ||
         id == QMetaType::Long || id == QMetaType::SChar || id == QMetaType::Char;
}

bool isUnsignedInteger(int id) {
  return id == QMetaType::UShort || id == QMetaType::UInt || id == QMetaType::ULongLong ||
         id == QMetaType::ULong || id == QMetaType::UChar;
}

// "a string", "a double", ... for error messages: the D-Bus type as a host programmer knows it.
QString kindOf(const QVariant& value) {
  if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
    return QStringLiteral("a value of type %1")
        .arg(value.value<QDBusArgument>().currentSignature());
  }
  switch (value.metaType().id()) {
    case QMetaType::Bool:
      return QStringLiteral("a boolean");
    case QMetaType::QString:
      return QStringLiteral("a string");
    case QMetaType::Double:
      return QStringLiteral("a double");
    default:
      break;
  }
  if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) {
    return QStringLiteral("an object path");
  }
  if (value.metaType() == QMetaType::fromType<QDBusVariant>()) return QStringLiteral("a variant");
  if (isSignedInteger(value.metaType().id()) || isUnsignedInteger(value.metaType().id())) {
    return QStringLiteral("an integer");
  }
  const char* signature = QDBusMetaType::typeToSignature(value.metaType());
  return QStringLiteral("a value of type %1").arg(signature ? signature : value.typeName());
}

QString typeName(const QString& type) {
  if (type == QLatin1String("n")) return QStringLiteral("a 16-bit integer");
  if (type == QLatin1String("i")) return QStringLiteral("a 32-bit integer");
  if (type == QLatin1String("d")) return QStringLiteral("a double");
  if (type == QLatin1String("b")) return QStringLiteral("a boolean");
  if (type == QLatin1String("s")) return QStringLiteral("a string");
  if (type == QLatin1String("o")) return QStringLiteral("an object path");
  return type;
}

[[noreturn]] void refuse(const QVariant& value, const QString& type, const QString& what) {
  throw BusError(
      QString::fromLatin1(error::kInvalidArgs),
      QStringLiteral("%1: %2 cannot be converted to %3").arg(what, kindOf(value), typeName(type)));
}

[[noreturn]] void outOfRange(const QString& shown, qint64 low, qint64 high, const QString& what) {
  throw BusError(
      QString::fromLatin1(error::kInvalidArgs),
      QStringLiteral("%1: %2 is outside the range %3 .. %4").arg(what, shown).arg(low).arg(high));
}

// An integer of the range low .. high from any integer or double.
qint64 toInteger(const QVariant& value, qint64 low, qint64 high, const QString& type,
                 const QString& what) {
  const int id = value.metaType().id();
  if (isSignedInteger(id)) {
    const qint64 v = value.toLongLong();
    if (v < low || v > high) outOfRange(QString::number(v), low, high, what);
    return v;
  }
  if (isUnsignedInteger(id)) {
    const qulonglong v = value.toULongLong();
    if (v > static_cast<qulonglong>(high)) outOfRange(QString::number(v), low, high, what);
    return static_cast<qint64>(v);
  }
  if (id == QMetaType::Double) {
    const double v = value.toDouble();
    if (!std::isfinite(v)) outOfRange(QString::number(v), low, high, what);
    const double rounded = geo::roundHalfEven(v);
    if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high)) {
      outOfRange(QString::number(v, 'g', 17), low, high, what);
    }
    return static_cast<qint64>(rounded);
  }
  refuse(value, type, what);
}

bool isNameElement(QStringView element, bool unique) {
  if (element.isEmpty()) return false;
  if (!unique && element.front().isDigit()) return false;
  for (const QChar c : element) {
    const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                    (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

void registerBusTypes() {
  static std::once_flag once;
  std::call_once(once, [] { qDBusRegisterMetaType<BusObjectRef>(); });
}

bool isValidBusName(const QString& name) {
  constexpr qsizetype kMaxNameLength = 255;
  if (name.isEmpty() || name.size() > kMaxNameLength) return false;
  const bool unique = name.startsWith(u':');
  const QStringView body = unique ? QStringView(name).mid(1) : QStringView(name);
  const QList<QStringView> elements = body.split(u'.');
  if (elements.size() < 2) return false;
  for (const QStringView element : elements) {
    if (!isNameElement(element, unique)) return false;
  }
  return true;
}

QVariant toDeclaredType(const QVariant& value, const QString& type, const QString& what) {
  if (type == QLatin1String("v")) {
    if (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
      return value.value<QDBusVariant>().variant();
    }
    return value;
  }
  if (type == QLatin1String("n")) {
    return QVariant::fromValue(
        static_cast<std::int16_t>(toInteger(value, kInt16Min, kInt16Max, type, what)));
  }
  if (type == QLatin1String("i")) {
    return QVariant::fromValue(
        static_cast<std::int32_t>(toInteger(value, kInt32Min, kInt32Max, type, what)));
  }
  const int id = value.metaType().id();
  if (type == QLatin1String("d")) {
    if (id == QMetaType::Double) return value;
    if (isSignedInteger(id)) return static_cast<double>(value.toLongLong());
    if (isUnsignedInteger(id)) return static_cast<double>(value.toULongLong());
    refuse(value, type, what);
  }
  if (type == QLatin1String("b") && id == QMetaType::Bool) return value;
  if (type == QLatin1String("s") && id == QMetaType::QString) return value;
  if (type == QLatin1String("o") && value.metaType() == QMetaType::fromType<QDBusObjectPath>()) {
    return value;
  }
  refuse(value, type, what);
}

std::int16_t checkedInt16(double value, const QString& what) {
  const double rounded = geo::roundHalfEven(value);
  if (!std::isfinite(rounded) || rounded < static_cast<double>(kInt16Min) ||
      rounded > static_cast<double>(kInt16Max)) {
    throw BusError(QString::fromLatin1(error::kOverflow),
                   QStringLiteral("%1: %2 does not fit the 16-bit range %3 .. %4")
                       .arg(what, QString::number(value, 'g', 17))
                       .arg(kInt16Min)
                       .arg(kInt16Max));
  }
  return static_cast<std::int16_t>(rounded);
}

bool busObjectRefOf(const QVariant& value, BusObjectRef& ref) {
  if (value.metaType() == QMetaType::fromType<BusObjectRef>()) {
    ref = value.value<BusObjectRef>();
    return true;
  }
  if (value.metaType() != QMetaType::fromType<QDBusArgument>()) return false;
  const QDBusArgument argument = value.value<QDBusArgument>();
  if (argument.currentSignature() != QLatin1String("(so)")) return false;
  argument >> ref;
  return true;
}

}  // namespace orbelle::server
