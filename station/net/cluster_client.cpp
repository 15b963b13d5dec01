#include "net/cluster_client.hpp"

#include "core/cluster_login.hpp"
#include "core/text.hpp"
#include "net/socket_fault.hpp"

namespace orbelle::station {

ClusterClient::ClusterClient(Endpoint endpoint, std::string call, std::string password,
                             std::vector<std::string> commands, Report& report, Timing timing,
                             QObject* parent)
    : QObject(parent),
      endpoint_(std::move(endpoint)),
      call_(std::move(call)),
      password_(std::move(password)),
      commands_(std::move(commands)),
      report_(report),
      timing_(timing),
      backoff_(timing.firstRetryMs, timing.maxRetryMs),
      lines_(kMaxLineLength) {
  connectTimer_.setSingleShot(true);
  retryTimer_.setSingleShot(true);
  loginTimer_.setSingleShot(true);
  connect(&socket_, &QTcpSocket::connected, this, &ClusterClient::onConnected);
  connect(&socket_, &QTcpSocket::readyRead, this, &ClusterClient::onReadyRead);
  connect(&socket_, &QAbstractSocket::stateChanged, this, [this](QAbstractSocket::SocketState s) {
    if (s == QAbstractSocket::UnconnectedState) onUnconnected();
  });
  connect(&connectTimer_, &QTimer::timeout, this, [this] {
    connectTimedOut_ = true;
    socket_.abort();
  });
  connect(&retryTimer_, &QTimer::timeout, this, &ClusterClient::tryConnect);
  connect(&loginTimer_, &QTimer::timeout, this, [this] {
    if (logIn_ == LogIn::WaitingForCallPrompt) {
      report_.note(where() + ": no log-in prompt; sending the call sign anyway");
      sendCall();
    } else if (logIn_ == LogIn::WaitingForPasswordPrompt) {
      report_.note(where() + ": no password prompt; password not sent");
      finishLogIn();
    }
  });
}

ClusterClient::~ClusterClient() { QObject::disconnect(&socket_, nullptr, this, nullptr); }

std::string ClusterClient::where() const { return "cluster " + endpoint_.text(); }

void ClusterClient::start() { tryConnect(); }

void ClusterClient::tryConnect() {
  if (socket_.state() != QAbstractSocket::UnconnectedState) return;
  connectTimedOut_ = false;
  connectTimer_.start(timing_.connectTimeoutMs);
  socket_.connectToHost(QString::fromStdString(endpoint_.host),
                        static_cast<quint16>(endpoint_.port));
}

void ClusterClient::onConnected() {
  connectTimer_.stop();
  wasConnected_ = true;
  logIn_ = LogIn::WaitingForCallPrompt;
  telnet_ = TelnetFilter{};
  lines_.clear();
  sessionClock_.start();
  ++counters_.sessions;
  nodeSpoke_ = false;
  logInReported_ = false;
  report_.note(where() + ": connected");
  loginTimer_.start(timing_.loginFallbackMs);
}

void ClusterClient::onUnconnected() {
  connectTimer_.stop();
  loginTimer_.stop();
  const std::string error = connectTimedOut_
                                ? "timed out after " + secondsText(timing_.connectTimeoutMs)
                                : socketFault(socket_);
  if (wasConnected_) {
    wasConnected_ = false;
    if (sessionClock_.elapsed() >= timing_.stableSessionMs) backoff_.reset();
    const int delay = backoff_.next();
    report_.problem(where() + ": connection closed (" + error + "); reconnecting in " +
                    std::to_string((delay + 999) / 1000) + " s");
    downReported_ = true;
    emit sessionEnded();
    retryTimer_.start(delay);
    return;
  }
  const int delay = backoff_.next();
  if (!downReported_) {
    report_.problem("cannot reach " + where() + " (" + error + "); retrying");
    downReported_ = true;
  }
  retryTimer_.start(delay);
}

void ClusterClient::sendLine(const std::string& line) {
  const std::string bytes = line + "\r\n";
  socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void ClusterClient::sendCall() {
  sendLine(call_);
  if (password_.empty()) {
    finishLogIn();
  } else {
    logIn_ = LogIn::WaitingForPasswordPrompt;
    loginTimer_.start(timing_.loginFallbackMs);
  }
}

void ClusterClient::finishLogIn() {
  loginTimer_.stop();
  logIn_ = LogIn::Done;
  // Nodes read their input line by line, so the commands can follow the log-in at once.
  for (const std::string& command : commands_) sendLine(command);
  reportLogIn();
}

void ClusterClient::reportLogIn() {
  if (logIn_ != LogIn::Done || !nodeSpoke_ || logInReported_) return;
  logInReported_ = true;
  report_.event(where() + (loggedInBefore_ ? ": logged in again as " : ": logged in as ") + call_);
  loggedInBefore_ = true;
  downReported_ = false;
  emit loggedIn();
}

void ClusterClient::onReadyRead() {
  const QByteArray bytes = socket_.readAll();
  if (!bytes.isEmpty()) nodeSpoke_ = true;
  std::string replies;
  const std::string text = telnet_.feed(
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), replies);
  if (!replies.empty()) socket_.write(replies.data(), static_cast<qint64>(replies.size()));
  lines_.append(text);
  while (const std::optional<Line> line = lines_.next()) handleLine(*line);
  // Prompts come without a line end; an answered one must not start the next line.
  if (promptSeen(lines_.pending())) lines_.dropPending();
  reportLogIn();
}

bool ClusterClient::promptSeen(std::string_view text) {
  if (logIn_ == LogIn::WaitingForCallPrompt && isCallPrompt(text)) {
    sendCall();
    return true;
  }
  if (logIn_ == LogIn::WaitingForPasswordPrompt && isPasswordPrompt(text)) {
    sendLine(password_);
    finishLogIn();
    return true;
  }
  return false;
}

void ClusterClient::handleLine(const Line& line) {
  if (line.overlong) {
    ++counters_.malformed;
    report_.note(where() + ": line of more than " + std::to_string(kMaxLineLength) +
                 " characters dropped: " + visibleText(line.text.substr(0, kShownPrefix)) + "...");
    return;
  }
  const ClusterLine parsed = parseClusterLine(line.text);
  switch (parsed.kind) {
    case LineKind::Spot:
      ++counters_.spots;
      if (onSpot_) onSpot_(parsed.spot);
      break;
    case LineKind::Malformed:
      ++counters_.malformed;
      report_.note(where() + ": unreadable spot (" + parsed.fault + "): " + visibleText(line.text));
      break;
    case LineKind::NotASpot:
      ++counters_.otherLines;
      // A node that ends its prompt with a line end still gets its answer.
      promptSeen(line.text);
      break;
  }
}

}  // namespace orbelle::station
