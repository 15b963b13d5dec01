#pragma once

#include <QObject>
#include <QUdpSocket>
#include <functional>
#include <set>
#include <string>

#include "core/options.hpp"
#include "core/report.hpp"
#include "core/wsjtx_message.hpp"

// The UDP server WSJT-X reports to: receives its datagrams on an address and port (joining the
// group when the address is a multicast group, sharing the port with other listeners there),
// reads each one and hands the messages on. A datagram that is not a message is counted and,
// in verbose mode, shown; each sender is announced when it is first heard and when it closes.

namespace orbelle::station {

class WsjtxListener : public QObject {
  Q_OBJECT

 public:
  struct Counters {
    std::size_t datagrams = 0;
    std::size_t malformed = 0;
  };
  // Senders announced; beyond them, new ids are not announced.
  static constexpr std::size_t kMaxAnnounced = 16;

  WsjtxListener(Endpoint address, Report& report, QObject* parent = nullptr);

  void setHandler(std::function<void(const wsjtx::Message&)> handler) {
    onMessage_ = std::move(handler);
  }
  // Binds the socket (and joins the group); false with `error` when the address cannot be used.
  bool start(std::string* error);
  const Counters& counters() const { return counters_; }

 private:
  void onReadyRead();
  std::string where() const { return "WSJT-X listener on " + address_.text(); }

  Endpoint address_;
  Report& report_;
  QUdpSocket socket_;
  std::function<void(const wsjtx::Message&)> onMessage_;
  std::set<std::string> heard_;
  Counters counters_;
};

}  // namespace orbelle::station
