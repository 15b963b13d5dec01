#pragma once

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QMetaType>
#include <QString>

// An object on the bus named by the connection that serves it and its path: the "(so)" value the
// map takes as its Callback.

namespace orbelle::station {

struct BusObjectRef {
  QString service;
  QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& out, const BusObjectRef& ref);
const QDBusArgument& operator>>(const QDBusArgument& in, BusObjectRef& ref);

// Registers the type with QtDBus; call once before sending one.
void registerBusObjectRef();

}  // namespace orbelle::station

Q_DECLARE_METATYPE(orbelle::station::BusObjectRef)
