#pragma once

#include <QDBusAbstractInterface>
#include <QDBusPendingCall>
#include <QString>
#include <QVariant>
#include <optional>

// Writes a property of a generated proxy without blocking. The proxy's own setters wait for the
// reply and lose its error; this sends org.freedesktop.DBus.Properties.Set asynchronously, with
// the value converted to the type the proxy (and so the introspection file) declares, so that a
// 16-bit property goes out as 16 bits and a renamed property is caught before anything is sent.

namespace orbelle::station {

// The call, or nullopt with `error` set when the proxy has no such property or the value does
// not convert to its type. A property declared as a variant takes `value` as its contents.
std::optional<QDBusPendingCall> writeProperty(QDBusAbstractInterface& proxy, const char* name,
                                              const QVariant& value, QString* error);

}  // namespace orbelle::station
