#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QString>
#include <QVariantList>

// A stand-in for the map on the test's bus: owns the map's bus name, answers the factory's
// Create with /server/1, takes every call and property write, and keeps them in order. It has
// the AntennaHeading property or, like maps before it, answers its writes with UnknownProperty.

namespace orbelle::station::test {

class FakeMap : public QDBusVirtualObject {
 public:
  struct Call {
    QString path;
    QString member;  // "Set:<property>" for a property write
    QVariantList arguments;
  };

  FakeMap();
  ~FakeMap() override;

  // Whether writes to AntennaHeading are taken.
  bool hasAntennaHeading = true;

  // Takes the bus name (again): a map that has started.
  bool appear();
  // Gives it up: the map has gone.
  void vanish();

  QDBusConnection& connection() { return connection_; }
  const QList<Call>& calls() const { return calls_; }
  // The values written to AntennaHeading, in order.
  QList<double> headings() const;

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
  QString introspect(const QString&) const override { return {}; }

 private:
  QString name_;
  QDBusConnection connection_;
  QList<Call> calls_;
};

}  // namespace orbelle::station::test
