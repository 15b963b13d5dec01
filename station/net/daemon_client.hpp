#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/backoff.hpp"
#include "core/line_buffer.hpp"
#include "core/options.hpp"
#include "core/report.hpp"

// A client of one Hamlib network daemon (rotctld or rigctld): sends set commands one at a time,
// reads each "RPRT n" reply, and keeps the connection up.
//
// - Commands are queued and sent in order, each after the previous one's reply.
// - A failed command (RPRT n < 0) is reported and the next one is sent.
// - A connection that drops is reported and opened again at once, then with growing delays;
//   a command that was on its way when it dropped is sent again once (set commands are
//   idempotent). A command given while the daemon is down starts a connection attempt at once;
//   when that attempt fails, the waiting commands are reported as not sent and dropped, so an
//   old rotor heading is never sent minutes later.
// - A daemon that does not answer within the reply time is treated as hung: the command is
//   reported, dropped, and the connection opened again.
// Nothing here ever stops the program.

namespace orbelle::station {

class DaemonClient : public QObject {
  Q_OBJECT

 public:
  struct Timing {
    int connectTimeoutMs = 5000;
    int replyTimeoutMs = 5000;
    int firstRetryMs = 1000;
    int maxRetryMs = 30000;
  };
  // Commands beyond this many waiting are dropped, oldest first.
  static constexpr std::size_t kMaxWaiting = 64;

  DaemonClient(std::string name, Endpoint endpoint, Report& report, Timing timing,
               QObject* parent = nullptr);
  DaemonClient(std::string name, Endpoint endpoint, Report& report, QObject* parent = nullptr)
      : DaemonClient(std::move(name), std::move(endpoint), report, Timing{}, parent) {}
  ~DaemonClient() override;

  // Opens the connection; later drops reopen it by themselves.
  void start();
  void send(const std::vector<std::string>& commands);

  bool isConnected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
  bool isIdle() const { return !inFlight_ && waiting_.empty(); }
  const std::string& name() const { return name_; }

 signals:
  void connected();
  // A command has ended: answered with `code` (0 on success), or given up unanswered.
  void finished(QString command, bool answered, int code);

 private:
  struct Command {
    std::string line;
    int attempts = 0;
  };

  void tryConnect();
  void onConnected();
  void onUnconnected();
  void onReadyRead();
  void onReplyTimeout();
  void pump();
  void dropWaiting(const std::string& why);
  std::string where() const;

  std::string name_;
  Endpoint endpoint_;
  Report& report_;
  Timing timing_;
  QTcpSocket socket_;
  QTimer connectTimer_;
  QTimer replyTimer_;
  QTimer retryTimer_;
  Backoff backoff_;
  LineBuffer lines_;
  std::deque<Command> waiting_;
  std::optional<Command> inFlight_;
  bool wasConnected_ = false;  // the socket that just went down had been connected
  bool downReported_ = false;  // "cannot reach" said once per outage
  bool started_ = false;
};

}  // namespace orbelle::station
