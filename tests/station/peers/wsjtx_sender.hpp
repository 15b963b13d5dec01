#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QHostAddress>
#include <QTime>
#include <QUdpSocket>
#include <functional>

// WSJT-X's side of its UDP protocol, written with QDataStream as WSJT-X does (schema 3, Qt 5.4).

namespace orbelle::station::test {

class WsjtxSender {
 public:
  QByteArray heartbeat(const QByteArray& version) const {
    return message(0, [&](QDataStream& out) { out << kSchema << version << QByteArray("r1"); });
  }
  QByteArray status(quint64 dialHz, const QByteArray& mode, const QByteArray& deCall,
                    const QByteArray& deGrid) const {
    return message(1, [&](QDataStream& out) {
      out << dialHz << mode << QByteArray("DX0DX") << QByteArray("-10") << mode << false << false
          << true << quint32(1500) << quint32(1200) << deCall << deGrid << QByteArray() << false
          << QByteArray() << false << quint8(0) << quint32(0) << quint32(15)
          << QByteArray("Default") << QByteArray("CQ TEST");
    });
  }
  QByteArray decode(QTime time, qint32 snr, quint32 deltaHz, const QByteArray& text,
                    bool lowConfidence = false) const {
    return message(2, [&](QDataStream& out) {
      out << true << time << snr << 0.2 << deltaHz << QByteArray("~") << text << lowConfidence
          << false;
    });
  }
  QByteArray close() const {
    return message(6, [](QDataStream&) {});
  }

  qint64 send(const QByteArray& datagram, int port) {
    return socket_.writeDatagram(datagram, QHostAddress::LocalHost, static_cast<quint16>(port));
  }

 private:
  static constexpr quint32 kSchema = 3;

  QByteArray message(quint32 type, const std::function<void(QDataStream&)>& fields) const {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_4);
    out << quint32(0xADBCCBDA) << kSchema << type << QByteArray("WSJT-X");
    fields(out);
    return bytes;
  }

  QUdpSocket socket_;
};

}  // namespace orbelle::station::test
