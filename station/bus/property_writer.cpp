#include "bus/property_writer.hpp"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QMetaProperty>

namespace orbelle::station {

std::optional<QDBusPendingCall> writeProperty(QDBusAbstractInterface& proxy, const char* name,
                                              const QVariant& value, QString* error) {
  const QMetaObject* meta = proxy.metaObject();
  const int index = meta->indexOfProperty(name);
  if (index < 0 || !meta->property(index).isWritable()) {
    *error = QStringLiteral("%1 has no writable property %2").arg(proxy.interface(), name);
    return std::nullopt;
  }
  const QMetaType type = meta->property(index).metaType();
  QVariant contents = value;
  if (type != QMetaType::fromType<QDBusVariant>()) {
    // A value must survive the conversion: 70000 is no 16-bit value and 2000.7 no integer.
    QVariant converted = value;
    QVariant back;
    if (converted.convert(type)) {
      back = converted;
      back.convert(value.metaType());
    }
    if (!back.isValid() || back != value) {
      *error = QStringLiteral("%1 cannot take the value %2").arg(name, value.toString());
      return std::nullopt;
    }
    contents = converted;
  }
  QDBusMessage message = QDBusMessage::createMethodCall(
      proxy.service(), proxy.path(), QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("Set"));
  message << proxy.interface() << QString::fromLatin1(name)
          << QVariant::fromValue(QDBusVariant(contents));
  return proxy.connection().asyncCall(message, proxy.timeout());
}

}  // namespace orbelle::station
