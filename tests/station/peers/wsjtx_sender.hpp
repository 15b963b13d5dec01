#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTime>
#include <QUdpSocket>

// WSJT-X's side of its UDP protocol, written with Qt's own QDataStream as WSJT-X writes it
// (schema 3, Qt 5.4 stream format), and sent to the station's listener.

namespace orbelle::station::test {

class WsjtxSender {
 public:
  explicit WsjtxSender(QByteArray id = "WSJT-X") : id_(std::move(id)) {}

  QByteArray heartbeat(const QByteArray& version) const;
  QByteArray status(quint64 dialHz, const QByteArray& mode, const QByteArray& deCall,
                    const QByteArray& deGrid) const;
  QByteArray decode(QTime time, qint32 snr, quint32 deltaHz, const QByteArray& text,
                    bool lowConfidence = false) const;
  QByteArray close() const;

  qint64 send(const QByteArray& datagram, quint16 port,
              const QHostAddress& to = QHostAddress::LocalHost);

 private:
  QByteArray id_;
  QUdpSocket socket_;
};

}  // namespace orbelle::station::test
