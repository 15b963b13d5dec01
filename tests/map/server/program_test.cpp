// The orbelle program as a host meets it: started by the bus or by hand, ended by objects or bus.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include "support/wait.hpp"

namespace {

using orbelle::test::waitUntil;

const QString kService = QStringLiteral("Orbelle.server");
// A pass over the shipped outline data takes seconds; a loaded test machine may take longer.
constexpr int kPassTimeoutMs = 180000;

QString readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A dbus-daemon of the test's own, activating the build tree's map, which the test can take away.
// The program it starts gets the daemon's environment, `environment`.
struct OwnBus {
  explicit OwnBus(
      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    daemon.setProcessEnvironment(environment);
    daemon.start("dbus-daemon",
                 {"--config-file=" ORBELLE_TEST_BUS_CONFIG, "--nofork", "--print-address=1"});
    if (!daemon.waitForReadyRead(10000)) return;
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    connection = QDBusConnection::connectToBus(address, "own-bus");
  }
  QDBusMessage call(const QString& path, const QString& interface, const QString& member,
                    const QVariantList& args) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, member);
    message.setArguments(args);
    return connection.call(message, QDBus::Block, 60000);
  }
  void takeAway() {
    daemon.kill();
    daemon.waitForFinished();
  }

  QProcess daemon;  // killed with the test at the latest
  QString address;
  QDBusConnection connection{QString()};
};

class Program : public ::testing::Test {
 protected:
  QString workFolder() const { return dir.filePath("orbelle"); }
  QString messageLog() const { return dir.filePath("messages.log"); }

  QTemporaryDir dir;
};

// By hand it runs only with EXE=T and a display, else says so and ends (never aborts); with
// them it works in its folder, and its bus going away ends it with the settings written.
TEST_F(Program, ByHandItRunsOnlyWithExeTAndADisplay) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DBUS_STARTER_BUS_TYPE");
  environment.insert("ORBELLE_MESSAGE_LOG", messageLog());
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    environment.remove(name);
  }
  const auto run = [&](QProcess& process, const QStringList& arguments) {
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(ORBELLE_PROGRAM, arguments);
  };
  const struct {
    QStringList arguments;
    QString log, error;
  } refusals[] = {{{"-platform", "offscreen"},
                   "error\torbelle\tThis application may only be run as a server\n",
                   ""},
                  {{"EXE=T"}, "", "orbelle: no display"}};
  for (const auto& k : refusals) {
    QFile::remove(messageLog());
    QProcess process;
    run(process, k.arguments);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(readFile(messageLog()), k.log);
    EXPECT_TRUE(process.readAllStandardError().contains(k.error.toUtf8()));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("orbelle.ini")));  // it ended before the load
  }

  OwnBus own;
  ASSERT_TRUE(own.connection.isConnected()) << own.daemon.readAllStandardError().toStdString();
  environment.insert("DBUS_SESSION_BUS_ADDRESS", own.address);
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  QProcess map;
  run(map, {"EXE=T"});
  ASSERT_TRUE(waitUntil([&] { return own.connection.interface()->isServiceRegistered(kService); }));
  ASSERT_EQ(own.call("/", "Orbelle.Factory", "Create", {}).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(own.call("/server/1", "org.freedesktop.DBus.Properties", "Set",
                     {"Orbelle._server", "MaxDxMi", QVariant::fromValue(QDBusVariant(555))})
                .type(),
            QDBusMessage::ReplyMessage);
  own.takeAway();
  ASSERT_TRUE(map.waitForFinished(20000));
  EXPECT_EQ(map.exitCode(), 0);
  EXPECT_EQ(QSettings(dir.filePath("orbelle.ini"), QSettings::IniFormat).value("Settings/MaxDx"),
            555);
  EXPECT_EQ(readFile(messageLog()), "");
}

// Started by the bus, without a display, it serves off screen in $XDG_DATA_HOME/orbelle, draws
// the shipped outlines, and ends when its bus goes away, even without a server object.
TEST_F(Program, ActivatedByTheBusItEndsWithItsBus) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    environment.remove(name);
  environment.insert("XDG_DATA_HOME", dir.path());
  environment.insert("ORBELLE_MESSAGE_LOG", messageLog());
  OwnBus own(environment);
  ASSERT_TRUE(own.connection.isConnected());
  // Reading a window property starts the map without creating a server object.
  const QDBusMessage caption =
      own.call("/Form1", "org.freedesktop.DBus.Properties", "Get", {"Orbelle.Form1", "Caption"});
  ASSERT_EQ(caption.type(), QDBusMessage::ReplyMessage) << caption.errorMessage().toStdString();
  EXPECT_TRUE(
      waitUntil([&] { return QFileInfo::exists(workFolder() + "/MapCache.bmp"); }, kPassTimeoutMs));
  const QDBusReply<uint> pid = own.connection.interface()->servicePid(kService);
  ASSERT_TRUE(pid.isValid());
  own.takeAway();
  // The process ends (or is only left to be reaped), settings written, nothing reported.
  EXPECT_TRUE(waitUntil([&] {
    const QString stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid.value()));
    return stat.isEmpty() || stat.section(' ', 2, 2) == "Z";
  }));
  EXPECT_TRUE(QFileInfo::exists(workFolder() + "/orbelle.ini"));
  EXPECT_EQ(readFile(messageLog()), "");
}

}  // namespace
