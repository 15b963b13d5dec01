#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "core/backoff.hpp"
#include "core/dx_spot_line.hpp"
#include "core/line_buffer.hpp"
#include "core/options.hpp"
#include "core/report.hpp"
#include "core/telnet_filter.hpp"

// A DX cluster user session over telnet: logs in with the operator's call sign (and password
// when the node asks for one and one is set), sends the operator's commands, and passes every
// spot line on. The log-in is reported once the node has sent something: a node whose kernel
// accepts the connection while the node itself hangs is not "logged in". Lines that start as
// spots but cannot be read, and over-long lines, are counted and, in verbose mode, shown. When
// the node closes the connection or cannot be reached, the client reconnects after a delay that
// doubles up to a ceiling; the delay starts again from the first one after a session that
// lasted.

namespace orbelle::station {

class ClusterClient : public QObject {
  Q_OBJECT

 public:
  struct Timing {
    int connectTimeoutMs = 10000;
    int firstRetryMs = 2000;
    int maxRetryMs = 120000;
    int stableSessionMs = 60000;  // a session this long resets the delay
    int loginFallbackMs = 5000;   // log in without a prompt after this long
  };
  struct Counters {
    std::size_t spots = 0;
    std::size_t malformed = 0;  // spot lines that could not be read, overlong lines included
    std::size_t otherLines = 0;
    std::size_t sessions = 0;  // connections made
  };
  // Lines longer than this are not cluster lines.
  static constexpr std::size_t kMaxLineLength = 1024;
  // How much of an over-long line a message shows.
  static constexpr std::size_t kShownPrefix = 80;

  ClusterClient(Endpoint endpoint, std::string call, std::string password,
                std::vector<std::string> commands, Report& report, Timing timing,
                QObject* parent = nullptr);
  ~ClusterClient() override;

  void setSpotHandler(std::function<void(const DxSpot&)> handler) { onSpot_ = std::move(handler); }
  void start();
  const Counters& counters() const { return counters_; }

 signals:
  void loggedIn();
  void sessionEnded();

 private:
  void tryConnect();
  void onConnected();
  void onUnconnected();
  void onReadyRead();
  void sendCall();
  void finishLogIn();
  void sendLine(const std::string& line);
  void handleLine(const Line& line);
  void reportLogIn();
  // Answers a log-in prompt; true when `text` was one.
  bool promptSeen(std::string_view text);
  std::string where() const;

  Endpoint endpoint_;
  std::string call_;
  std::string password_;
  std::vector<std::string> commands_;
  Report& report_;
  Timing timing_;
  std::function<void(const DxSpot&)> onSpot_;
  QTcpSocket socket_;
  QTimer connectTimer_;
  QTimer retryTimer_;
  QTimer loginTimer_;
  QElapsedTimer sessionClock_;
  Backoff backoff_;
  TelnetFilter telnet_;
  LineBuffer lines_;
  Counters counters_;
  enum class LogIn { WaitingForCallPrompt, WaitingForPasswordPrompt, Done };
  LogIn logIn_ = LogIn::WaitingForCallPrompt;
  bool wasConnected_ = false;
  bool downReported_ = false;
  bool connectTimedOut_ = false;
  bool nodeSpoke_ = false;      // the node has sent something in this session
  bool logInReported_ = false;  // in this session
  bool loggedInBefore_ = false;
};

}  // namespace orbelle::station
