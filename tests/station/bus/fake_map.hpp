#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QList>

#include "bus/map_host.hpp"

// A stand-in for the map on the test's bus: owns the map's bus name, answers the factory's Create
// with /server/1 and every other call with an empty reply, and keeps the AntennaHeading values
// written to it. Without the property it answers those writes with UnknownProperty, as maps
// before it did.

namespace orbelle::station::test {

class FakeMap : public QDBusVirtualObject {
 public:
  FakeMap() { connection_.registerVirtualObject("/", this, QDBusConnection::SubPath); }
  ~FakeMap() override {
    connection_.unregisterObject("/");
    QDBusConnection::disconnectFromBus(name_);
  }

  bool hasAntennaHeading = true;
  // Takes the bus name (again): a map that has started; gives it up: the map has gone.
  bool appear() { return connection_.registerService(QString::fromLatin1(kMapService)); }
  void vanish() { connection_.unregisterService(QString::fromLatin1(kMapService)); }
  // The values written to AntennaHeading, in order, refused ones too.
  const QList<double>& headings() const { return headings_; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    QDBusMessage reply = message.createReply();
    if (message.member() == QLatin1String("Create")) {
      reply << QVariant::fromValue(QDBusObjectPath("/server/1"));
    } else if (message.member() == QLatin1String("Set") &&
               message.arguments().value(1).toString() == QLatin1String("AntennaHeading")) {
      headings_ << message.arguments().value(2).value<QDBusVariant>().variant().toDouble();
      if (!hasAntennaHeading) {
        reply = message.createErrorReply(QDBusError::UnknownProperty, "No property AntennaHeading");
      }
    }
    connection.send(reply);
    return true;
  }
  QString introspect(const QString&) const override { return {}; }

 private:
  QString name_ = QStringLiteral("fake-map-%1").arg(reinterpret_cast<quintptr>(this));
  QDBusConnection connection_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name_);
  QList<double> headings_;
};

}  // namespace orbelle::station::test
