#include "e2e/fake_map.hpp"

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

QList<double> FakeMap::headings() const {
  QList<double> out;
  for (const Call& call : calls_) {
    if (call.member == QLatin1String("Set:AntennaHeading")) {
      out << call.arguments.at(2).value<QDBusVariant>().variant().toDouble();
    }
  }
  return out;
}

bool FakeMap::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  QString member = message.member();
  if (member == QLatin1String("Set")) {
    member += QLatin1Char(':') + message.arguments().value(1).toString();
  }
  calls_.push_back({message.path(), member, message.arguments()});
  QDBusMessage reply = message.createReply();
  if (member == QLatin1String("Create")) {
    reply << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/server/1")));
  } else if (member == QLatin1String("Set:AntennaHeading") && !hasAntennaHeading) {
    reply = message.createErrorReply(QDBusError::UnknownProperty,
                                     QStringLiteral("No property AntennaHeading"));
  }
  connection.send(reply);
  return true;
}

}  // namespace orbelle::station::test
