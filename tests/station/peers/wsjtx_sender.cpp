#include "wsjtx_sender.hpp"

#include <QDataStream>
#include <functional>

namespace orbelle::station::test {
namespace {

constexpr quint32 kMagic = 0xADBCCBDA;
constexpr quint32 kSchema = 3;

QByteArray message(quint32 type, const QByteArray& id,
                   const std::function<void(QDataStream&)>& fields) {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_5_4);
  out << kMagic << kSchema << type << id;
  fields(out);
  return bytes;
}

}  // namespace

QByteArray WsjtxSender::heartbeat(const QByteArray& version) const {
  return message(0, id_, [&](QDataStream& out) { out << kSchema << version << QByteArray("r1"); });
}

QByteArray WsjtxSender::status(quint64 dialHz, const QByteArray& mode, const QByteArray& deCall,
                               const QByteArray& deGrid) const {
  return message(1, id_, [&](QDataStream& out) {
    out << dialHz << mode << QByteArray("DX0DX") << QByteArray("-10") << mode << false << false
        << true << quint32(1500) << quint32(1200) << deCall << deGrid << QByteArray() << false
        << QByteArray() << false << quint8(0) << quint32(0) << quint32(15) << QByteArray("Default")
        << QByteArray("CQ TEST");
  });
}

QByteArray WsjtxSender::decode(QTime time, qint32 snr, quint32 deltaHz, const QByteArray& text,
                               bool lowConfidence) const {
  return message(2, id_, [&](QDataStream& out) {
    out << true << time << snr << 0.2 << deltaHz << QByteArray("~") << text << lowConfidence
        << false;
  });
}

QByteArray WsjtxSender::close() const {
  return message(6, id_, [](QDataStream&) {});
}

qint64 WsjtxSender::send(const QByteArray& datagram, quint16 port, const QHostAddress& to) {
  return socket_.writeDatagram(datagram, to, port);
}

}  // namespace orbelle::station::test
