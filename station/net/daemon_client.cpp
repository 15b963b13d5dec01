#include "net/daemon_client.hpp"

#include "core/hamlib.hpp"
#include "core/text.hpp"
#include "net/socket_fault.hpp"

namespace orbelle::station {
namespace {

// Replies of the default protocol are short; anything longer is not a reply.
constexpr std::size_t kMaxReplyLine = 1024;

}  // namespace

DaemonClient::DaemonClient(std::string name, Endpoint endpoint, Read probe, Report& report,
                           Timing timing, QObject* parent)
    : QObject(parent),
      name_(std::move(name)),
      endpoint_(std::move(endpoint)),
      probe_(std::move(probe)),
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
  connect(&connectTimer_, &QTimer::timeout, this, [this] {
    connectTimedOut_ = true;
    socket_.abort();
  });
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
  valuesSoFar_.clear();
  connectTimedOut_ = false;
  link_ = Link::Connecting;
  connectTimer_.start(timing_.connectTimeoutMs);
  socket_.connectToHost(QString::fromStdString(endpoint_.host),
                        static_cast<quint16>(endpoint_.port));
}

void DaemonClient::onConnected() {
  connectTimer_.stop();
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  link_ = Link::Probing;
  inFlight_ = Command{probe_.line, probe_.valueLines, 0};
  const std::string line = probe_.line + "\n";
  socket_.write(line.data(), static_cast<qint64>(line.size()));
  replyTimer_.start(timing_.replyTimeoutMs);
}

void DaemonClient::markDown() {
  downReported_ = true;
  emit down();
}

void DaemonClient::onUnconnected() {
  connectTimer_.stop();
  replyTimer_.stop();
  const Link was = link_;
  link_ = Link::Down;
  valuesSoFar_.clear();
  if (closingOurselves_) return;
  const std::string fault = connectTimedOut_
                                ? "timed out after " + secondsText(timing_.connectTimeoutMs)
                                : socketFault(socket_);
  if (was == Link::Ready) {
    report_.problem(where() + ": connection lost (" + fault + "); reconnecting");
    if (inFlight_ && inFlight_->valueLines == 0 && ++inFlight_->attempts < 2) {
      // The daemon may have gone before it read the command: send it again once.
      waiting_.push_front(*inFlight_);
    } else if (inFlight_) {
      if (inFlight_->valueLines == 0) {
        report_.problem(where() + ": \"" + inFlight_->line + "\" not sent: connection lost twice");
      }
      emit finished(QString::fromStdString(inFlight_->line), false, 0);
    }
    inFlight_.reset();
    markDown();
    // Reconnect on the next turn of the event loop, outside the socket's own signal.
    retryTimer_.start(0);
    return;
  }
  // A connection attempt failed, or the daemon closed it before it answered the probe.
  inFlight_.reset();
  if (!downReported_) {
    report_.problem("cannot reach " + where() + " (" + fault + "); retrying");
    markDown();
  }
  dropWaiting(fault);
  if (started_) retryTimer_.start(backoff_.next());
}

void DaemonClient::closeAndRetry(int delayMs) {
  closingOurselves_ = true;
  socket_.abort();  // reports the closing at once, to onUnconnected, which leaves it to us
  closingOurselves_ = false;
  link_ = Link::Down;
  if (started_) retryTimer_.start(delayMs);
}

void DaemonClient::onReplyTimeout() {
  if (!inFlight_) return;
  const std::string within = "within " + secondsText(timing_.replyTimeoutMs) + " (timed out)";
  const Command unanswered = *inFlight_;
  inFlight_.reset();
  if (link_ == Link::Probing) {
    // Accepted by the kernel but not answered: the daemon hangs.
    if (!downReported_) {
      report_.problem(where() + ": no answer " + within + "; retrying");
      markDown();
    }
    dropWaiting("it does not answer");
    closeAndRetry(backoff_.next());
    return;
  }
  report_.problem(where() + ": no reply to \"" + unanswered.line + "\" " + within +
                  (unanswered.valueLines == 0 ? "; not sent again" : "") + "; reconnecting");
  emit finished(QString::fromStdString(unanswered.line), false, 0);
  markDown();
  closeAndRetry(0);
}

void DaemonClient::dropWaiting(const std::string& why) {
  while (!waiting_.empty()) {
    const Command command = waiting_.front();
    waiting_.pop_front();
    if (command.valueLines == 0) {
      report_.problem(where() + ": \"" + command.line + "\" not sent (" + why + ")");
    }
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
    waiting_.push_back({line, 0, 0});
  }
  if (socket_.state() == QAbstractSocket::UnconnectedState) {
    tryConnect();  // do not wait for the next retry: the operator is waiting
  } else {
    pump();
  }
}

void DaemonClient::replace(const std::vector<std::string>& commands) {
  while (!waiting_.empty()) {
    const Command stale = waiting_.front();
    waiting_.pop_front();
    if (stale.valueLines == 0) {
      report_.note(where() + ": \"" + stale.line + "\" dropped for a newer request");
    }
    emit finished(QString::fromStdString(stale.line), false, 0);
  }
  send(commands);
}

void DaemonClient::read(const Read& r) {
  if (link_ != Link::Ready || (inFlight_ && inFlight_->line == r.line)) return;
  for (const Command& c : waiting_) {
    if (c.line == r.line) return;
  }
  waiting_.push_back({r.line, r.valueLines, 0});
  pump();
}

void DaemonClient::pump() {
  if (link_ != Link::Ready || inFlight_ || waiting_.empty()) return;
  inFlight_ = waiting_.front();
  waiting_.pop_front();
  if (inFlight_->valueLines == 0) report_.note(where() + ": " + inFlight_->line);
  const std::string line = inFlight_->line + "\n";
  socket_.write(line.data(), static_cast<qint64>(line.size()));
  replyTimer_.start(timing_.replyTimeoutMs);
}

void DaemonClient::onReadyRead() {
  const QByteArray bytes = socket_.readAll();
  lines_.append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  while (const std::optional<Line> line = lines_.next()) {
    if (line->overlong) {
      report_.note(where() + ": over-long reply line dropped");
    } else {
      onLine(line->text);
    }
  }
  pump();
}

void DaemonClient::onLine(const std::string& line) {
  const std::optional<int> code = hamlib::reportCode(line);
  if (inFlight_ && inFlight_->valueLines > 0) {
    if (code && valuesSoFar_.isEmpty()) {
      complete(true, *code);  // the read failed
      return;
    }
    valuesSoFar_ << QString::fromStdString(line);
    if (valuesSoFar_.size() >= inFlight_->valueLines) {
      emit values(QString::fromStdString(inFlight_->line), valuesSoFar_);
      complete(true, 0);
    }
    return;
  }
  if (!code || !inFlight_) {
    // Not a reply to a set command (or no command waiting for one): nothing to act on.
    report_.note(where() + ": unexpected \"" + visibleText(line) + "\"");
    return;
  }
  complete(true, *code);
}

void DaemonClient::complete(bool answered, int code) {
  replyTimer_.stop();
  const Command done = *inFlight_;
  inFlight_.reset();
  valuesSoFar_.clear();
  if (code != 0) {
    const std::string text = where() + ": \"" + done.line + "\" failed: RPRT " +
                             std::to_string(code) + " (" + std::string(hamlib::errorText(code)) +
                             ")";
    // A read that fails is the daemon's business; a command that fails is the operator's.
    if (done.valueLines == 0) {
      report_.problem(text);
    } else {
      report_.note(text);
    }
  }
  emit finished(QString::fromStdString(done.line), answered, code);
  if (link_ == Link::Probing) becomeReady();
}

void DaemonClient::becomeReady() {
  link_ = Link::Ready;
  backoff_.reset();
  if (downReported_) {
    report_.event(where() + ": connected again");
  } else if (!reachedOnce_) {
    report_.event(where() + ": reached");
  }
  reachedOnce_ = true;
  downReported_ = false;
  emit ready();
  pump();
}

}  // namespace orbelle::station
