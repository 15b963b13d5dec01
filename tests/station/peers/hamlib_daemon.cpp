#include "hamlib_daemon.hpp"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <cstdio>
#include <limits>

#include "support/wait.hpp"

namespace orbelle::station::test {

int freePort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}

bool HamlibDaemon::start(int port) {
  stop();
  if (QStandardPaths::findExecutable(program_).isEmpty()) {
    std::fprintf(stderr, "%s not found: the tests need Debian's libhamlib-utils\n",
                 qPrintable(program_));
    return false;
  }
  // A port picked as free may be taken before the daemon binds it: try a few.
  for (int attempt = 0; attempt < 5; ++attempt) {
    port_ = port != 0 ? port : freePort();
    process_.setProgram(program_);
    process_.setArguments({QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                           QStringLiteral("127.0.0.1"), QStringLiteral("-t"),
                           QString::number(port_)});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.start();
    if (!process_.waitForStarted(30000)) return false;
    // Takes connections, or has ended (the port was taken after all).
    const auto listening = [this] {
      QTcpSocket socket;
      socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
      return socket.waitForConnected(200);
    };
    const bool settled = orbelle::test::waitUntil(
        [&] { return process_.state() != QProcess::Running || listening(); });
    if (settled && process_.state() == QProcess::Running) return true;
    stop();
  }
  return false;
}

void HamlibDaemon::stop() {
  if (process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

QStringList HamlibDaemon::query(const QString& command, int lines) const {
  // Now and then the daemons reset a connection they have just accepted: ask again on a new one.
  // A daemon answers at once; the deadlines only bound a loaded machine's delays.
  constexpr int kDeadlineMs = 10000;
  QStringList out;
  for (int attempt = 0; attempt < 3 && out.size() < lines; ++attempt) {
    out.clear();
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
    if (!socket.waitForConnected(kDeadlineMs)) continue;
    socket.write((command + QLatin1Char('\n')).toLatin1());
    const QDeadlineTimer deadline(kDeadlineMs);
    QByteArray buffer;
    while (out.size() < lines && !deadline.hasExpired()) {
      if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) break;
      buffer += socket.readAll();
      int end;
      while (out.size() < lines && (end = buffer.indexOf('\n')) >= 0) {
        out << QString::fromLatin1(buffer.left(end)).trimmed();
        buffer.remove(0, end + 1);
      }
    }
  }
  return out;
}

double HamlibDaemon::number(const QString& command) const {
  const QStringList reply = query(command, 1);
  bool ok = false;
  const double value = reply.isEmpty() ? 0.0 : reply.first().toDouble(&ok);
  return ok ? value : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace orbelle::station::test
