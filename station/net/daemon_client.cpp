#include "net/daemon_client.hpp"

#include "core/hamlib.hpp"

namespace orbelle::station {
namespace {

// Replies of the default protocol are short; anything longer is not a reply.
constexpr std::size_t kMaxReplyLine = 1024;

}  // namespace

DaemonClient::DaemonClient(std::string name, Endpoint endpoint, Report& report, Timing timing,
                           QObject* parent)
    : QObject(parent),
      name_(std::move(name)),
      endpoint_(std::move(endpoint)),
      report_(report),
      timing_(timing),
      backoff_(timing.firstRetryMs, timing.maxRetryMs),
      lines_(kMaxReplyLine) {
  connectTimer_.setSingleShot(true);
  replyTimer_.setSingleShot(true);
  retryTimer_.setSingleShot(true);
  connect(&socket_, &QTcpSocket::connected, this, &DaemonClient::onConnected);
  connect(&socket_, &QTcpSocket::readyRead, this, &DaemonClient::onReadyRead);
  connect(&socket_, &QAbstractSocket::stateChanged, this, [this](QAbstractSocket::SocketState s) {
    if (s == QAbstractSocket::UnconnectedState) onUnconnected();
  });
  connect(&connectTimer_, &QTimer::timeout, this, [this] { socket_.abort(); });
  connect(&replyTimer_, &QTimer::timeout, this, &DaemonClient::onReplyTimeout);
  connect(&retryTimer_, &QTimer::timeout, this, &DaemonClient::tryConnect);
}

DaemonClient::~DaemonClient() {
  // The socket reports its closing while it is destroyed, after the timers: not to us.
  QObject::disconnect(&socket_, nullptr, this, nullptr);
}

std::string DaemonClient::where() const { return name_ + " at " + endpoint_.text(); }

void DaemonClient::start() {
  started_ = true;
  tryConnect();
}

void DaemonClient::tryConnect() {
  if (socket_.state() != QAbstractSocket::UnconnectedState) return;
  retryTimer_.stop();
  lines_.clear();
  wasConnected_ = false;
  connectTimer_.start(timing_.connectTimeoutMs);
  socket_.connectToHost(QString::fromStdString(endpoint_.host),
                        static_cast<quint16>(endpoint_.port));
}

void DaemonClient::onConnected() {
  connectTimer_.stop();
  backoff_.reset();
  wasConnected_ = true;
  if (downReported_) {
    report_.problem(where() + ": connected again");
  } else {
    report_.note(where() + ": connected");
  }
  downReported_ = false;
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  emit connected();
  pump();
}

void DaemonClient::onUnconnected() {
  connectTimer_.stop();
  replyTimer_.stop();
  const std::string error = socket_.errorString().toStdString();
  if (wasConnected_) {
    wasConnected_ = false;
    report_.problem(where() + ": connection lost (" + error + "); reconnecting");
    downReported_ = true;
    if (inFlight_) {
      // The daemon may have gone before it read the command: send it again once.
      if (++inFlight_->attempts < 2) {
        waiting_.push_front(*inFlight_);
      } else {
        report_.problem(where() + ": \"" + inFlight_->line + "\" not sent: connection lost twice");
        emit finished(QString::fromStdString(inFlight_->line), false, 0);
      }
      inFlight_.reset();
    }
    // Reconnect on the next turn of the event loop, outside the socket's own signal.
    retryTimer_.start(0);
    return;
  }
  // A connection attempt failed.
  if (!downReported_) {
    report_.problem("cannot reach " + where() + " (" + error + "); retrying");
    downReported_ = true;
  }
  dropWaiting(error);
  if (started_) retryTimer_.start(backoff_.next());
}

void DaemonClient::dropWaiting(const std::string& why) {
  while (!waiting_.empty()) {
    const Command command = waiting_.front();
    waiting_.pop_front();
    report_.problem(where() + ": \"" + command.line + "\" not sent (" + why + ")");
    emit finished(QString::fromStdString(command.line), false, 0);
  }
}

void DaemonClient::send(const std::vector<std::string>& commands) {
  for (const std::string& line : commands) {
    if (waiting_.size() >= kMaxWaiting) {
      report_.problem(where() + ": too many commands waiting; \"" + waiting_.front().line +
                      "\" dropped");
      emit finished(QString::fromStdString(waiting_.front().line), false, 0);
      waiting_.pop_front();
    }
    waiting_.push_back({line, 0});
  }
  if (socket_.state() == QAbstractSocket::UnconnectedState) {
    tryConnect();  // do not wait for the next retry: the operator is waiting
  } else {
    pump();
  }
}

void DaemonClient::pump() {
  if (inFlight_ || waiting_.empty() || !isConnected()) return;
  inFlight_ = waiting_.front();
  waiting_.pop_front();
  report_.note(where() + ": " + inFlight_->line);
  const std::string line = inFlight_->line + "\n";
  socket_.write(line.data(), static_cast<qint64>(line.size()));
  replyTimer_.start(timing_.replyTimeoutMs);
}

void DaemonClient::onReadyRead() {
  const QByteArray bytes = socket_.readAll();
  lines_.append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  while (const std::optional<std::string> line = lines_.next()) {
    const std::optional<int> code = hamlib::reportCode(*line);
    if (!code || !inFlight_) {
      // Not a reply to a set command (or no command waiting for one): nothing to act on.
      report_.note(where() + ": unexpected \"" + *line + "\"");
      continue;
    }
    replyTimer_.stop();
    const Command done = *inFlight_;
    inFlight_.reset();
    if (*code != 0) {
      report_.problem(where() + ": \"" + done.line + "\" failed: RPRT " + std::to_string(*code) +
                      " (" + std::string(hamlib::errorText(*code)) + ")");
    }
    emit finished(QString::fromStdString(done.line), true, *code);
  }
  pump();
}

void DaemonClient::onReplyTimeout() {
  if (!inFlight_) return;
  report_.problem(where() + ": no reply to \"" + inFlight_->line + "\"; reconnecting");
  emit finished(QString::fromStdString(inFlight_->line), false, 0);
  inFlight_.reset();
  socket_.abort();  // → onUnconnected, which reconnects
}

}  // namespace orbelle::station
