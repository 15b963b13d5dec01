// The station with the map program the bus starts for it: placed, then released, and the map ends.
// The test's own calls never start the map. (A map that leaves and comes back is the in-process
// tests' case.)

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QTemporaryDir>

#include "bus/bus_object_ref.hpp"
#include "e2e/station_process.hpp"
#include "support/wait.hpp"

namespace orbelle::station::test {
namespace {
using orbelle::test::waitUntil;

const QString kService = QStringLiteral("Orbelle.server");
// The map's start by the bus and its drawing pass over the shipped outline data.
constexpr int kStartMs = 120000;

class StationWithMapProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "run under dbus-run-session";
    // The map started by the bus gets the bus's environment plus this.
    qDBusRegisterMetaType<QMap<QString, QString>>();
    const QMap<QString, QString> environment = {
        {"XDG_DATA_HOME", dir.path()},
        {"ORBELLE_MESSAGE_LOG", dir.filePath(QStringLiteral("messages.log"))},
        {"QT_QPA_PLATFORM", "offscreen"}};
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "UpdateActivationEnvironment")
        << QVariant::fromValue(environment));
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  }

  // A property of the map window (/Form1); invalid when the map does not answer.
  QVariant windowProperty(const QString& name) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/Form1"), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << QStringLiteral("Orbelle.Form1") << name;
    get.setAutoStartService(false);
    const QDBusMessage reply = bus.call(get, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return {};
    return reply.arguments().at(0).value<QDBusVariant>().variant();
  }
  BusObjectRef callback() {
    BusObjectRef ref;
    const QVariant value = windowProperty(QStringLiteral("Callback"));
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
      value.value<QDBusArgument>() >> ref;
    }
    return ref;
  }

  QTemporaryDir dir;
  QDBusConnection bus{QString()};
  StationProcess station;
};

TEST_F(StationWithMapProgram, StartsPlacesAndReleasesTheMap) {
  ASSERT_FALSE(bus.interface()->isServiceRegistered(kService).value());
  ASSERT_TRUE(
      station.start({"--latitude", "-33.9", "--longitude", "151.2", "--max-dx-mi", "3000"}));
  ASSERT_TRUE(waitUntil([&] { return !callback().service.isEmpty(); }, kStartMs))
      << station.output().toStdString();
  EXPECT_EQ(windowProperty(QStringLiteral("LatHere")).toDouble(), -33.9);
  EXPECT_EQ(windowProperty(QStringLiteral("LonHere")).toDouble(), 151.2);
  EXPECT_EQ(windowProperty(QStringLiteral("MaxDx")).toInt(), 3000);
  const BusObjectRef target = callback();
  EXPECT_TRUE(target.service.startsWith(QLatin1Char(':')));
  EXPECT_EQ(target.path.path(), "/orbelle/station/callback");

  // Ending the station releases its object; the map, with nothing left to serve, ends too.
  EXPECT_EQ(station.stop(kStartMs), 0) << station.output().toStdString();
  EXPECT_TRUE(
      waitUntil([&] { return !bus.interface()->isServiceRegistered(kService).value(); }, kStartMs));
}

}  // namespace
}  // namespace orbelle::station::test
