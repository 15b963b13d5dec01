#pragma once

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

// A loopback TCP server playing a cluster node or a daemon; it serves the newest connection only.

namespace orbelle::station::test {

class FakePeer {
 public:
  FakePeer() {
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* next = server_.nextPendingConnection()) {
        if (socket_) socket_->abort();
        socket_ = next;
        received_.clear();
        ++connections_;
        QObject::connect(next, &QTcpSocket::readyRead, [this, next] { read(next); });
        if (onConnection) onConnection(*this);
      }
    });
  }
  ~FakePeer() {
    if (socket_) socket_->abort();
  }

  bool listen(int port = 0) {
    return server_.listen(QHostAddress::LocalHost, static_cast<quint16>(port));
  }
  int port() const { return server_.serverPort(); }
  void close() { server_.close(); }
  int connections() const { return connections_; }
  // Every byte received on the current connection.
  const QByteArray& received() const { return received_; }

  void send(const QByteArray& bytes) {
    if (socket_) socket_->write(bytes);
  }
  void drop() {
    if (socket_) socket_->disconnectFromHost();
  }

  // Called when a connection arrives, and for every line received (without its "\r\n").
  std::function<void(FakePeer&)> onConnection;
  std::function<void(FakePeer&, const QByteArray& line)> onLine;

 private:
  void read(QTcpSocket* socket) {
    if (socket != socket_) return;
    const qsizetype done = received_.lastIndexOf('\n') + 1;
    received_ += socket->readAll();
    QList<QByteArray> lines = received_.mid(done).split('\n');
    lines.removeLast();  // not ended yet, or empty
    for (const QByteArray& line : lines) {
      if (onLine) onLine(*this, line.endsWith('\r') ? line.chopped(1) : line);
    }
  }

  QTcpServer server_;
  QPointer<QTcpSocket> socket_;
  QByteArray received_;
  int connections_ = 0;
};

}  // namespace orbelle::station::test
