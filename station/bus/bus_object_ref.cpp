#include "bus/bus_object_ref.hpp"

#include <QDBusMetaType>

namespace orbelle::station {

QDBusArgument& operator<<(QDBusArgument& out, const BusObjectRef& ref) {
  out.beginStructure();
  out << ref.service << ref.path;
  out.endStructure();
  return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, BusObjectRef& ref) {
  in.beginStructure();
  in >> ref.service >> ref.path;
  in.endStructure();
  return in;
}

void registerBusObjectRef() { qDBusRegisterMetaType<BusObjectRef>(); }

}  // namespace orbelle::station
