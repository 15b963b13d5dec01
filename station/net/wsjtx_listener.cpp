#include "net/wsjtx_listener.hpp"

#include <QNetworkDatagram>

#include "core/text.hpp"

namespace orbelle::station {

WsjtxListener::WsjtxListener(Endpoint address, Report& report, QObject* parent)
    : QObject(parent), address_(std::move(address)), report_(report) {
  connect(&socket_, &QUdpSocket::readyRead, this, &WsjtxListener::onReadyRead);
}

bool WsjtxListener::start(std::string* error) {
  const QHostAddress address(QString::fromStdString(address_.host));
  const auto port = static_cast<quint16>(address_.port);
  const bool group = address.isMulticast();
  // Other programs may listen to the same group: share its port with them.
  const QHostAddress any = address.protocol() == QAbstractSocket::IPv6Protocol
                               ? QHostAddress(QHostAddress::AnyIPv6)
                               : QHostAddress(QHostAddress::AnyIPv4);
  const bool bound =
      group ? socket_.bind(any, port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)
            : socket_.bind(address, port);
  if (!bound || (group && !socket_.joinMulticastGroup(address))) {
    *error = "cannot listen for WSJT-X on " + address_.text() + " (" +
             socket_.errorString().toStdString() + ")";
    return false;
  }
  report_.event("listening for WSJT-X on " + address_.text() + (group ? " (multicast)" : ""));
  return true;
}

void WsjtxListener::onReadyRead() {
  while (socket_.hasPendingDatagrams()) {
    const QNetworkDatagram datagram = socket_.receiveDatagram();
    if (!datagram.isValid()) continue;
    ++counters_.datagrams;
    const QByteArray bytes = datagram.data();
    const wsjtx::ParseResult parsed = wsjtx::parseDatagram(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    const std::string from = datagram.senderAddress().toString().toStdString() + ":" +
                             std::to_string(datagram.senderPort());
    if (!parsed.message) {
      ++counters_.malformed;
      report_.note(where() + ": datagram of " + std::to_string(bytes.size()) + " bytes from " +
                   from + " dropped: " + parsed.error);
      continue;
    }
    const wsjtx::Message& m = *parsed.message;
    const std::string sender = "WSJT-X \"" + visibleText(m.id) + "\"";
    if (!heard_.count(m.id) && heard_.size() < kMaxAnnounced) {
      heard_.insert(m.id);
      const auto* heartbeat = std::get_if<wsjtx::Heartbeat>(&m.body);
      report_.event(sender +
                    (heartbeat && !heartbeat->version.empty()
                         ? " " + visibleText(heartbeat->version)
                         : std::string()) +
                    " heard from " + from);
    }
    if (m.type == wsjtx::kClose) {
      report_.event(sender + " closed");
      heard_.erase(m.id);
    }
    if (onMessage_) onMessage_(m);
  }
}

}  // namespace orbelle::station
