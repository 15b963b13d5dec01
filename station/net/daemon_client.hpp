#pragma once

#include <QObject>
#include <QStringList>
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

// A client of one Hamlib network daemon (rotctld or rigctld) in its default protocol.
//
// - A new connection counts only once the daemon has answered a harmless read (the probe): a
//   hung daemon's kernel still accepts connections. Until then nothing else is sent; a probe
//   that is not answered in time ends the attempt, and the waiting commands are reported as not
//   sent and dropped.
// - Set commands are queued and sent in order, each after the previous one's "RPRT n" reply. A
//   failed one (n < 0) is reported and the next one is sent. replace() drops the commands still
//   waiting first: a newer request makes them stale, and the daemon never sees them.
// - A command that is not answered within the reply time is reported and dropped, never sent
//   again; the connection is opened again and must answer the probe before the next command.
// - A connection that drops is reported and opened again at once, then with growing delays; a
//   set command that was on its way is sent again once (set commands are idempotent). A command
//   given while the daemon is down starts a connection attempt at once; when that attempt
//   fails, the waiting commands are reported as not sent and dropped, so an old rotor heading
//   is never sent minutes later.
// - Reads (the rotator's position) go only to a daemon that answers, are not repeated and are
//   not shown with --verbose.
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
  // A read the daemon answers with `valueLines` lines.
  struct Read {
    std::string line;
    int valueLines = 1;
  };
  // Commands beyond this many waiting are dropped, oldest first.
  static constexpr std::size_t kMaxWaiting = 64;

  DaemonClient(std::string name, Endpoint endpoint, Read probe, Report& report, Timing timing,
               QObject* parent = nullptr);
  ~DaemonClient() override;

  // Opens the connection; later drops reopen it by themselves.
  void start();
  void send(const std::vector<std::string>& commands);
  void replace(const std::vector<std::string>& commands);
  // Queues a read unless the daemon does not answer now or the same read is already queued.
  void read(const Read& read);

  bool isIdle() const { return !inFlight_ && waiting_.empty(); }
  const std::string& name() const { return name_; }

 signals:
  // The daemon has answered the probe on a new connection.
  void ready();
  // The daemon cannot be reached, has stopped answering or has dropped the connection.
  void down();
  // A command or read has ended: answered with `code` (0 on success), or given up unanswered.
  void finished(QString command, bool answered, int code);
  // The value lines a read (the probe included) was answered with.
  void values(QString command, QStringList lines);

 private:
  enum class Link { Down, Connecting, Probing, Ready };
  struct Command {
    std::string line;
    int valueLines = 0;  // 0 for a set command, answered by "RPRT n"
    int attempts = 0;
  };

  void tryConnect();
  void onConnected();
  void onUnconnected();
  void onReadyRead();
  void onReplyTimeout();
  void onLine(const std::string& line);
  void complete(bool answered, int code);
  void becomeReady();
  void closeAndRetry(int delayMs);
  void pump();
  void dropWaiting(const std::string& why);
  void markDown();
  std::string where() const;

  std::string name_;
  Endpoint endpoint_;
  Read probe_;
  Report& report_;
  Timing timing_;
  QTcpSocket socket_;
  QTimer connectTimer_;
  QTimer replyTimer_;
  QTimer retryTimer_;
  Backoff backoff_;
  LineBuffer lines_;
  Link link_ = Link::Down;
  std::deque<Command> waiting_;
  std::optional<Command> inFlight_;
  QStringList valuesSoFar_;
  bool connectTimedOut_ = false;
  bool closingOurselves_ = false;  // the station closed the socket and has arranged what follows
  bool downReported_ = false;      // one report per outage
  bool reachedOnce_ = false;
  bool started_ = false;
};

}  // namespace orbelle::station
