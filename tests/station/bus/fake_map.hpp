#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>

// A stand-in for the map on the test's bus: owns the map's bus name, answers the factory's Create
// with /server/1 and every other call with an empty reply, and keeps the AntennaHeading values
// written to it. Without the property it answers those writes with UnknownProperty, as maps
// before it did.

namespace orbelle::station::test {

class FakeMap : public QDBusVirtualObject {
 public:
  FakeMap();
  ~FakeMap() override;

  bool hasAntennaHeading = true;
  // Takes the bus name (again): a map that has started; gives it up: the map has gone.
  bool appear();
  void vanish();
  // The values written to AntennaHeading, in order, refused ones too.
  const QList<double>& headings() const { return headings_; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
  QString introspect(const QString&) const override { return {}; }

 private:
  QString name_;
  QDBusConnection connection_;
  QList<double> headings_;
};

}  // namespace orbelle::station::test
