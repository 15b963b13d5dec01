// The station with the map program the bus starts for it: placed, then released, and the map ends.
// The test's own calls never start the map. (A map that leaves and comes back is the in-process
// tests' case.)

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusVariant>

#include "bus/bus_object_ref.hpp"
#include "e2e/station_process.hpp"
#include "support/wait.hpp"

namespace orbelle::station::test {
namespace {

// The map's start by the bus and its drawing pass over the shipped outline data.
constexpr int kStartMs = 120000;

TEST(StationWithMapProgram, StartsPlacesAndReleasesTheMap) {
  QTemporaryDir dir;
  QDBusConnection bus = QDBusConnection::sessionBus();
  ASSERT_TRUE(bus.isConnected()) << "run under dbus-run-session";
  // The map started by the bus gets the bus's environment plus this.
  qDBusRegisterMetaType<QMap<QString, QString>>();
  const QMap<QString, QString> environment = {
      {"XDG_DATA_HOME", dir.path()},
      {"ORBELLE_MESSAGE_LOG", dir.filePath(QStringLiteral("messages.log"))},
      {"QT_QPA_PLATFORM", "offscreen"}};
  const QDBusMessage reply =
      bus.call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                              "org.freedesktop.DBus", "UpdateActivationEnvironment")
               << QVariant::fromValue(environment));
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  // A property of the map window; invalid when the map does not answer.
  const auto windowProperty = [&](const char* name) {
    QDBusMessage get = QDBusMessage::createMethodCall("Orbelle.server", "/Form1",
                                                      "org.freedesktop.DBus.Properties", "Get");
    get << QStringLiteral("Orbelle.Form1") << QString::fromLatin1(name);
    get.setAutoStartService(false);
    const QDBusMessage answer = bus.call(get, QDBus::Block, 5000);
    return answer.arguments().size() == 1 ? answer.arguments()[0].value<QDBusVariant>().variant()
                                          : QVariant();
  };
  const auto callback = [&] {
    BusObjectRef ref;
    const QVariant value = windowProperty("Callback");
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
      value.value<QDBusArgument>() >> ref;
    return ref;
  };
  const auto mapRuns = [&] {
    return bus.interface()->isServiceRegistered("Orbelle.server").value();
  };

  ASSERT_FALSE(mapRuns());
  StationProcess station;
  ASSERT_TRUE(
      station.start({"--latitude", "-33.9", "--longitude", "151.2", "--max-dx-mi", "3000"}));
  ASSERT_TRUE(orbelle::test::waitUntil([&] { return !callback().service.isEmpty(); }, kStartMs))
      << station.output().toStdString();
  EXPECT_EQ(windowProperty("LatHere").toDouble(), -33.9);
  EXPECT_EQ(windowProperty("LonHere").toDouble(), 151.2);
  EXPECT_EQ(windowProperty("MaxDx").toInt(), 3000);
  EXPECT_TRUE(callback().service.startsWith(QLatin1Char(':')));
  EXPECT_EQ(callback().path.path(), "/orbelle/station/callback");
  // Ending the station releases its object; the map, with nothing left to serve, ends too.
  EXPECT_EQ(station.stop(kStartMs), 0) << station.output().toStdString();
  EXPECT_TRUE(orbelle::test::waitUntil([&] { return !mapRuns(); }, kStartMs));
}

}  // namespace
}  // namespace orbelle::station::test
