#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A Hamlib network daemon (rotctld or rigctld) with its dummy model, on a free loopback port,
// started and stopped by a test, and questions to it over a connection of the test's own.

namespace orbelle::station::test {

// A loopback port that nothing listens on at the moment of the call.
int freePort();

class HamlibDaemon {
 public:
  explicit HamlibDaemon(QString program) : program_(std::move(program)) {}
  ~HamlibDaemon() { stop(); }

  // Starts the daemon on `port` (a free one when 0) and waits until it takes connections.
  bool start(int port = 0);
  void stop();
  int port() const { return port_; }

  // Sends `command` on a new connection and returns the first `lines` reply lines (fewer when
  // the daemon does not send them within a second, three times).
  QStringList query(const QString& command, int lines) const;
  // The first number of the reply to `command`; NaN without one.
  double number(const QString& command) const;

 private:
  QString program_;
  QProcess process_;
  int port_ = 0;
};

}  // namespace orbelle::station::test
