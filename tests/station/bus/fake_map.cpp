#include "bus/fake_map.hpp"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include "bus/map_host.hpp"

namespace orbelle::station::test {

FakeMap::FakeMap()
    : name_(QStringLiteral("fake-map-%1").arg(reinterpret_cast<quintptr>(this))),
      connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name_)) {
  connection_.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath);
}

FakeMap::~FakeMap() {
  connection_.unregisterObject(QStringLiteral("/"));
  QDBusConnection::disconnectFromBus(name_);
}

bool FakeMap::appear() { return connection_.registerService(QString::fromLatin1(kMapService)); }

void FakeMap::vanish() { connection_.unregisterService(QString::fromLatin1(kMapService)); }

bool FakeMap::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  QDBusMessage reply = message.createReply();
  if (message.member() == QLatin1String("Create")) {
    reply << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/server/1")));
  } else if (message.member() == QLatin1String("Set") &&
             message.arguments().value(1).toString() == QLatin1String("AntennaHeading")) {
    headings_ << message.arguments().value(2).value<QDBusVariant>().variant().toDouble();
    if (!hasAntennaHeading) {
      reply = message.createErrorReply(QDBusError::UnknownProperty,
                                       QStringLiteral("No property AntennaHeading"));
    }
  }
  connection.send(reply);
  return true;
}

}  // namespace orbelle::station::test
