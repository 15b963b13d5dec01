#pragma once

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <limits>

#include "support/wait.hpp"

// rotctld or rigctld with its dummy model on a free loopback port, and questions to it.

namespace orbelle::station::test {

// A loopback port that nothing listens on at the moment of the call.
inline int freePort() {
  QTcpServer probe;
  return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

class HamlibDaemon {
 public:
  explicit HamlibDaemon(QString program) : program_(std::move(program)) {}
  ~HamlibDaemon() { stop(); }

  // Starts it on a free port (a few, as one may be taken meanwhile) and waits for connections.
  bool start() {
    EXPECT_FALSE(QStandardPaths::findExecutable(program_).isEmpty()) << "needs libhamlib-utils";
    for (int attempt = 0; attempt < 5; ++attempt) {
      port_ = freePort();
      process_.setStandardOutputFile(QProcess::nullDevice());
      process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
      process_.start(program_, {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port_)});
      if (!process_.waitForStarted(30000)) return false;
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
  void stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(5000);
  }
  int port() const { return port_; }

  // The first `lines` reply lines on a new connection, asking again when one is reset at once.
  QStringList query(const QString& command, int lines) const {
    QStringList out;
    for (int attempt = 0; attempt < 3 && out.size() < lines; ++attempt) {
      out.clear();
      QTcpSocket socket;
      socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
      socket.write((command + QLatin1Char('\n')).toLatin1());
      const QDeadlineTimer deadline(10000);
      while (out.size() < lines) {
        if (socket.canReadLine()) {
          out << QString::fromLatin1(socket.readLine()).trimmed();
        } else if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
          break;
        }
      }
    }
    return out;
  }
  // The first number of the reply to `command`; NaN without one.
  double number(const QString& command) const {
    const QStringList reply = query(command, 1);
    bool ok = false;
    const double value = reply.isEmpty() ? 0.0 : reply.first().toDouble(&ok);
    return ok ? value : std::numeric_limits<double>::quiet_NaN();
  }

 private:
  QString program_;
  QProcess process_;
  int port_ = 0;
};

}  // namespace orbelle::station::test
