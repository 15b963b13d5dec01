#include "fake_peer.hpp"

namespace orbelle::station::test {

FakePeer::FakePeer() {
  QObject::connect(&server_, &QTcpServer::newConnection, [this] {
    while (QTcpSocket* next = server_.nextPendingConnection()) {
      if (socket_) socket_->abort();
      socket_ = next;
      received_.clear();
      partial_.clear();
      ++connections_;
      QObject::connect(next, &QTcpSocket::readyRead, [this, next] {
        if (next != socket_) return;
        const QByteArray bytes = next->readAll();
        received_ += bytes;
        partial_ += bytes;
        int end;
        while ((end = partial_.indexOf('\n')) >= 0) {
          QByteArray line = partial_.left(end);
          partial_.remove(0, end + 1);
          if (line.endsWith('\r')) line.chop(1);
          if (onLine) onLine(*this, line);
        }
      });
      if (onConnection) onConnection(*this);
    }
  });
}

FakePeer::~FakePeer() {
  if (socket_) socket_->abort();
}

bool FakePeer::listen(int port) {
  return server_.listen(QHostAddress::LocalHost, static_cast<quint16>(port));
}

QList<QByteArray> FakePeer::lines() const {
  QList<QByteArray> out;
  for (QByteArray line : received_.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    out << line;
  }
  if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
  return out;
}

void FakePeer::send(const QByteArray& bytes) {
  if (socket_) {
    socket_->write(bytes);
    socket_->flush();
  }
}

void FakePeer::drop() {
  if (socket_) {
    socket_->flush();
    socket_->disconnectFromHost();
  }
}

}  // namespace orbelle::station::test
