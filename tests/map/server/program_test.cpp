// The orbelle program as a host meets it: started by the bus or by hand, ended by objects or bus.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "factory_proxy.h"
#include "server_proxy.h"
#include "support/wait.hpp"
#include "text_helpers.hpp"
#include "window_proxy.h"

namespace {

using orbelle::server::test::holdsSetting;
using orbelle::test::waitUntil;

const QString kService = QStringLiteral("Orbelle.server");
// A pass over the shipped outline data takes seconds; a loaded test machine may take longer.
constexpr int kPassTimeoutMs = 180000;

// Waits for a reply; true when it is not an error.
template <typename Reply>
bool ok(Reply reply) {
  reply.waitForFinished();
  return reply.isValid();
}

// Waits until the map's bus name is owned (or no longer owned) on `bus`.
bool waitForService(const QDBusConnection& bus, bool owned, int timeoutMs) {
  QDBusServiceWatcher watcher(kService, bus,
                              owned ? QDBusServiceWatcher::WatchForRegistration
                                    : QDBusServiceWatcher::WatchForUnregistration);
  QSignalSpy changed(&watcher, owned ? &QDBusServiceWatcher::serviceRegistered
                                     : &QDBusServiceWatcher::serviceUnregistered);
  if (bus.interface()->isServiceRegistered(kService) == owned) return true;
  return changed.wait(timeoutMs) || bus.interface()->isServiceRegistered(kService) == owned;
}

QString readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "run under dbus-run-session";
    // The program the bus starts gets the bus's environment plus this, not the test's.
    qDBusRegisterMetaType<QMap<QString, QString>>();
    // No display: the bus-started map serves its objects off screen.
    const QMap<QString, QString> environment = {{"XDG_DATA_HOME", dir.path()},
                                                {"ORBELLE_MESSAGE_LOG", messageLog()},
                                                {"QT_QPA_PLATFORM", ""},
                                                {"DISPLAY", ""},
                                                {"WAYLAND_DISPLAY", ""}};
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "UpdateActivationEnvironment")
        << QVariant::fromValue(environment));
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  }
  void TearDown() override {
    // Whatever a test left running ends with its last object.
    if (running()) {
      OrbelleServer leftover(kService, "/server/1", bus);
      leftover.Release().waitForFinished();
    }
  }

  QString workFolder() const { return dir.filePath("orbelle"); }
  QString messageLog() const { return dir.filePath("messages.log"); }
  QString iniText() const { return readFile(workFolder() + "/orbelle.ini"); }
  bool running() const { return bus.interface()->isServiceRegistered(kService); }
  bool waitForEnd(int timeoutMs = 20000) const { return waitForService(bus, false, timeoutMs); }

  // The program started by hand in the test's folder with `environment` and `arguments`.
  void start(QProcess& process, const QProcessEnvironment& environment,
             const QStringList& arguments) const {
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(ORBELLE_PROGRAM, arguments);
  }
  QString iniHere() const { return readFile(dir.filePath("orbelle.ini")); }

  QTemporaryDir dir;
  QDBusConnection bus{QString()};
};

TEST_F(Program, ActivatedByTheBusAndDrivenByAHost) {
  OrbelleFactory factory(kService, "/", bus);
  factory.setTimeout(60000);
  QDBusPendingReply<QDBusObjectPath> created = factory.Create();
  created.waitForFinished();
  ASSERT_TRUE(created.isValid()) << created.error().message().toStdString();
  ASSERT_EQ(created.value().path(), "/server/1");
  // Started by the bus: its working folder is $XDG_DATA_HOME/orbelle.
  EXPECT_TRUE(QFileInfo(workFolder()).isDir());

  OrbelleServer server(kService, created.value().path(), bus);
  server.setTimeout(kPassTimeoutMs);
  OrbelleWindow window(kService, "/Form1", bus);
  EXPECT_EQ(server.form().variant().value<QDBusObjectPath>().path(), "/Form1");

  // The proxies' types reach the members (their rules are ServerMembers' tests).
  server.setMaxDxMi(50);
  server.setLatitude(95.0);
  EXPECT_EQ(window.latHere(), 95.0);

  // Draw returns when its pass over the shipped outlines has finished.
  QFile::remove(workFolder() + "/MapCache.bmp");
  QDBusPendingReply<> drawn = server.Draw();
  drawn.waitForFinished();
  ASSERT_FALSE(drawn.isError()) << drawn.error().message().toStdString();
  EXPECT_TRUE(QFileInfo::exists(workFolder() + "/MapCache.bmp"));
  EXPECT_FALSE(server.drawing());
  EXPECT_EQ(server.maxDxMi(), 100);

  ASSERT_TRUE(ok(server.Release()));
  ASSERT_TRUE(waitForEnd());
  EXPECT_TRUE(holdsSetting(iniText(), "MaxDx", "100")) << iniText().toStdString();
  EXPECT_TRUE(holdsSetting(iniText(), "LatHere", "95"));
  EXPECT_EQ(readFile(messageLog()), "");
}

// By hand it runs only with EXE=T, and without a display it says so and ends, never aborts.
TEST_F(Program, OnItsOwnItRunsOnlyWithExeTAndADisplay) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DBUS_STARTER_BUS_TYPE");
  environment.remove("DBUS_STARTER_ADDRESS");
  environment.insert("ORBELLE_MESSAGE_LOG", messageLog());
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  QProcess refused;
  start(refused, environment, {});
  ASSERT_TRUE(refused.waitForFinished(60000));
  EXPECT_EQ(refused.exitCode(), 1);
  EXPECT_EQ(readFile(messageLog()),
            "error\torbelle\tThis application may only be run as a server\n");
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("orbelle.ini")));

  // Without a display it says so and ends, instead of aborting.
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    environment.remove(name);
  }
  QProcess headless;
  start(headless, environment, {"EXE=T"});
  ASSERT_TRUE(headless.waitForFinished(60000));
  EXPECT_EQ(headless.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(headless.exitCode(), 1);
  EXPECT_TRUE(headless.readAllStandardError().contains("orbelle: no display"));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("orbelle.ini")));  // it ended before the load
}

// A dbus-daemon of the test's own, activating the build tree's map, which the test can take away.
class OwnBus {
 public:
  OwnBus() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DBUS_SESSION_BUS_ADDRESS", "DBUS_STARTER_ADDRESS", "DBUS_STARTER_BUS_TYPE"}) {
      environment.remove(name);
    }
    daemon.setProcessEnvironment(environment);
    daemon.start("dbus-daemon",
                 {"--config-file=" ORBELLE_TEST_BUS_CONFIG, "--nofork", "--print-address=1"});
    if (!daemon.waitForReadyRead(10000)) return;
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    connection = QDBusConnection::connectToBus(address, "own-bus");
  }
  ~OwnBus() {
    connection = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus("own-bus");
    daemon.kill();
    daemon.waitForFinished();
  }
  QDBusMessage call(const QString& path, const QString& interface, const QString& member,
                    const QVariantList& args = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, member);
    message.setArguments(args);
    return connection.call(message, QDBus::Block, 60000);
  }
  void takeAway() {
    daemon.kill();
    daemon.waitForFinished();
  }

  QProcess daemon;
  QString address;
  QDBusConnection connection{QString()};
};

// Waits until the process `pid` has ended (or is only left to be reaped).
bool waitForProcessEnd(qint64 pid, int timeoutMs) {
  return waitUntil(
      [&] {
        const QString stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
        return stat.isEmpty() || stat.section(' ', 2, 2) == "Z";
      },
      timeoutMs);
}

// Started by hand it works in its folder; its bus going away ends it with the settings written.
TEST_F(Program, TheBusGoingAwayReleasesTheObjectsAndEndsTheProgram) {
  OwnBus own;
  ASSERT_TRUE(own.connection.isConnected()) << own.daemon.readAllStandardError().toStdString();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DBUS_SESSION_BUS_ADDRESS", own.address);
  environment.insert("ORBELLE_MESSAGE_LOG", messageLog());
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  QProcess map;
  start(map, environment, {"EXE=T"});
  ASSERT_TRUE(waitForService(own.connection, true, 60000));
  const QDBusMessage created = own.call("/", "Orbelle.Factory", "Create");
  ASSERT_EQ(created.type(), QDBusMessage::ReplyMessage) << created.errorMessage().toStdString();
  ASSERT_EQ(own.call("/server/1", "org.freedesktop.DBus.Properties", "Set",
                     {"Orbelle._server", "MaxDxMi", QVariant::fromValue(QDBusVariant(555))})
                .type(),
            QDBusMessage::ReplyMessage);
  own.takeAway();
  ASSERT_TRUE(map.waitForFinished(20000));
  EXPECT_EQ(map.exitCode(), 0);
  EXPECT_TRUE(holdsSetting(iniHere(), "MaxDx", "555"));
  EXPECT_EQ(readFile(messageLog()), "");
}

TEST_F(Program, ABusStartedProgramEndsWithItsBusEvenWithoutObjects) {
  OwnBus own;
  ASSERT_TRUE(own.connection.isConnected());
  const QMap<QString, QString> environment = {{"XDG_DATA_HOME", dir.path()},
                                              {"ORBELLE_MESSAGE_LOG", messageLog()},
                                              {"QT_QPA_PLATFORM", "offscreen"}};
  QDBusMessage update =
      QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", "UpdateActivationEnvironment");
  update << QVariant::fromValue(environment);
  ASSERT_EQ(own.connection.call(update).type(), QDBusMessage::ReplyMessage);
  // Reading a window property starts the map without creating a server object.
  const QDBusMessage caption =
      own.call("/Form1", "org.freedesktop.DBus.Properties", "Get", {"Orbelle.Form1", "Caption"});
  ASSERT_EQ(caption.type(), QDBusMessage::ReplyMessage) << caption.errorMessage().toStdString();
  EXPECT_EQ(caption.arguments().at(0).value<QDBusVariant>().variant().toString(), "orbelle");
  const QDBusReply<uint> pid = own.connection.interface()->servicePid(kService);
  ASSERT_TRUE(pid.isValid());
  own.takeAway();
  EXPECT_TRUE(waitForProcessEnd(pid.value(), 20000));
  EXPECT_TRUE(QFileInfo::exists(workFolder() + "/orbelle.ini"));
}

}  // namespace
