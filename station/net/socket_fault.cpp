#include "net/socket_fault.hpp"

#include "core/text.hpp"

namespace orbelle::station {

std::string socketFault(const QAbstractSocket& socket) {
  switch (socket.error()) {
    case QAbstractSocket::ConnectionRefusedError:
      return "connection refused";
    case QAbstractSocket::RemoteHostClosedError:
      return "closed by the other end";
    case QAbstractSocket::HostNotFoundError:
      return "host not found";
    case QAbstractSocket::SocketTimeoutError:
      return "timed out";
    case QAbstractSocket::UnknownSocketError:
      return "connection closed";
    default:
      return socket.errorString().toStdString();
  }
}

std::string secondsText(int ms) { return numberText(ms / 1000.0) + " s"; }

}  // namespace orbelle::station
